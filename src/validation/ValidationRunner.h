#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "system/process/RunCancellation.h"
#include "validation/CheckGuidance.h"
#include "validation/CheckMeasurements.h"
#include "validation/MachineFacts.h"
#include "validation/ResultTables.h"

namespace tarq {

// The checks' names, which are also their rows' test names, in the order a pass runs them.
inline constexpr std::array<std::string_view, kChecksInRunOrder.size()> kTestNamesInRunOrder = [] {
  std::array<std::string_view, kChecksInRunOrder.size()> names{};
  for (std::size_t i = 0; i < names.size(); ++i) {
    names[i] = kChecksInRunOrder[i].testName;
  }
  return names;
}();

// One validation pass: empty both tables, then run the checks in their fixed order, each to
// completion. Every check reports through the two tables; a table that is not set drops what
// would have gone into it, and the checks run all the same. The facts that come from tools (USB,
// the browser, Mono) are all started together when the pass starts, each on a thread of its
// own, so a pass takes about as long as its slowest tool; each check waits only for its own
// fact, and the checks themselves run, and report, in order on the calling thread.
class ValidationRunner {
 public:
  explicit ValidationRunner(MachineFacts& facts) : facts_(&facts) {}

  // The two tables the checks report into (the window's panes or the report's lists). They
  // stay owned by the caller and must outlive the runner's use of them.
  void setTestResultsVC(ResultTextTable* testResultsVC) { testResultsVC_ = testResultsVC; }
  void setTestNameVC(TestSummaryTable* testNameVC) { testNameVC_ = testNameVC; }
  ResultTextTable* testResultsVC() const { return testResultsVC_; }
  TestSummaryTable* testNameVC() const { return testNameVC_; }
  // Where the checks record the values they judged, owned by the caller like the tables; unset,
  // the values are dropped.
  void setMeasurementTable(CheckMeasurementTable* measurements) { measurements_ = measurements; }

  // The checks, by place in the run order, that a pass leaves out: they report nothing, as if
  // they were not there.
  using CheckSet = std::bitset<kChecksInRunOrder.size()>;
  void setSkippedChecks(CheckSet skipped) { skipped_ = skipped; }

  // Told, on the pass's thread, as each check begins: its place in the run order and its name.
  using CheckStarted = std::function<void(std::size_t index, std::string_view testName)>;
  void setCheckStarted(CheckStarted checkStarted) { checkStarted_ = std::move(checkStarted); }

  // One pass. Once `cancellation` is cancelled its tools are ended and no further check starts;
  // the rows and lines reported until then stay. The main screen is `screen` where the caller
  // read it before (on macOS only the main thread may ask), else read as the pass starts.
  void runAllTests(const SystemValuesUtility::RunCancellation* cancellation = nullptr,
                   std::optional<ScreenSize> screen = std::nullopt);

  // The checks, in run order.
  void checkOperatingSystem();
  void checkMemory();
  void checkProcessor();
  void checkDiskSpace();
  void checkUSBVersion();
  void checkScreenResolution();
  void checkBrowser();
  void checkMonoFramework();

 private:
  MachineFacts& facts() { return *facts_; }
  // A check's two ways of reporting; each drops its report when its table is not set. A row
  // that did not pass may say what to do about it.
  void appendResultLine(std::string line);
  void reportResultRow(std::string_view testName, std::string_view result, std::string detected,
                       std::string remedy = {});
  // A value the running check judged, for reports read by programs.
  void measure(Measurement measurement);

  MachineFacts* facts_;
  ResultTextTable* testResultsVC_ = nullptr;
  TestSummaryTable* testNameVC_ = nullptr;
  CheckMeasurementTable* measurements_ = nullptr;
  CheckSet skipped_;
  CheckStarted checkStarted_;
  // The place in the run order of the check running now.
  std::size_t currentCheck_ = ResultTextTable::kNoCheck;
};

// Said in a result line and a detected value wherever a fact could not be read.
inline constexpr std::string_view kUnknownValue = "unknown";

}  // namespace tarq
