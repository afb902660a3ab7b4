#pragma once

#include <string>
#include <string_view>

#include "validation/MachineFacts.h"
#include "validation/ResultTables.h"

namespace tarq {

// One validation pass: empty both tables, then run the checks in their fixed order, each to
// completion. Every check reports through the two tables; a table that is not set drops what
// would have gone into it, and the checks run all the same.
class ValidationRunner {
 public:
  explicit ValidationRunner(MachineFacts& facts) : facts_(facts) {}

  // The two tables the checks report into (the window's panes or the report's lists). They
  // stay owned by the caller and must outlive the runner's use of them.
  void setTestResultsVC(ResultTextTable* testResultsVC) { testResultsVC_ = testResultsVC; }
  void setTestNameVC(TestSummaryTable* testNameVC) { testNameVC_ = testNameVC; }
  ResultTextTable* testResultsVC() const { return testResultsVC_; }
  TestSummaryTable* testNameVC() const { return testNameVC_; }

  void runAllTests();

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
  // A check's two ways of reporting; each drops its report when its table is not set.
  void appendResultLine(std::string line);
  void reportResultRow(std::string_view testName, std::string_view result, std::string detected);

  MachineFacts& facts_;
  ResultTextTable* testResultsVC_ = nullptr;
  TestSummaryTable* testNameVC_ = nullptr;
};

// Said in a result line and a detected value wherever a fact could not be read.
inline constexpr std::string_view kUnknownValue = "unknown";

}  // namespace tarq
