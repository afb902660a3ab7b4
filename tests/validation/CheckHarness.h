#pragma once

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "validation/MachineFacts.h"
#include "validation/ValidationRunner.h"

namespace tarq::testing {

inline const std::vector<std::string> kRunOrder(kTestNamesInRunOrder.begin(),
                                                kTestNamesInRunOrder.end());

// Plain values: a well-equipped Intel Mac on Catalina unless a test says otherwise.
struct FakeMachineFacts : MachineFacts {
  OperatingSystemVersion os{10, 15, 7, "Version 10.15.7 (Build 19H2)"};
  std::optional<uint64_t> memory = uint64_t{16} << 30;
  std::optional<int32_t> processors = 8;
  std::optional<uint32_t> l2 = 262144;
  std::optional<uint32_t> l3 = 6291456;
  std::optional<uint32_t> capable64 = 1;
  std::optional<int64_t> frequency = 2600000000;
  std::optional<std::string> brand = "Intel(R) Core(TM) i7-9750H CPU @ 2.60GHz";
  std::optional<std::string> machineType = "x86_64";
  int64_t freeBytes = int64_t{200} << 30;
  int64_t totalBytes = int64_t{500} << 30;
  double usbVersion = 3.0;
  ScreenSize screen{1920, 1080};
  ChromeLocation chrome{"/Applications/Google Chrome.app", "Google Chrome 120.0.6099.129 \n"};
  MonoVersionInfo mono{"6.12.0.182", "", 6};

  OperatingSystemVersion operatingSystemVersion() override { return os; }
  std::optional<uint64_t> memorySize() override { return memory; }
  std::optional<int32_t> cpuCount() override { return processors; }
  std::optional<uint32_t> l2CacheSize() override { return l2; }
  std::optional<uint32_t> l3CacheSize() override { return l3; }
  std::optional<uint32_t> cpu64BitCapable() override { return capable64; }
  std::optional<int64_t> cpuFrequency() override { return frequency; }
  std::optional<std::string> cpuBrandString() override { return brand; }
  std::optional<std::string> machine() override { return machineType; }
  int64_t freeDiskSpace() override { return freeBytes; }
  int64_t totalDiskSpace() override { return totalBytes; }
  double highestUSBVersion() override { return usbVersion; }
  ScreenSize mainScreenSize() override { return screen; }
  ChromeLocation locateChrome() override { return chrome; }
  MonoVersionInfo monoVersion() override { return mono; }
};

// A runner with both tables attached, as the window wires it.
template <typename Lines = ResultTextTable, typename Summary = TestSummaryTable>
struct WiredRunner {
  template <typename... TableArguments>
  explicit WiredRunner(MachineFacts& facts, TableArguments&... arguments)
      : lines(arguments...), summary(arguments...), runner(facts) {
    runner.setTestResultsVC(&lines);
    runner.setTestNameVC(&summary);
  }
  Lines lines;
  Summary summary;
  ValidationRunner runner;
};
WiredRunner(MachineFacts&)->WiredRunner<>;

// Logs each reload in arrival order: a line as it is, a row as "name|status|detected".
template <typename Table>
class Recording final : public Table {
 public:
  explicit Recording(std::vector<std::string>& log) : log_(log) {}

 protected:
  void reloadData() override {
    if constexpr (std::is_same_v<Table, ResultTextTable>) {
      log_.push_back(this->resStrings().empty() ? "lines emptied" : this->resStrings().back());
    } else {
      const auto& rows = this->results();
      log_.push_back(rows.empty() ? "rows emptied"
                                  : rows.back().testName + "|" + rows.back().result + "|" +
                                        rows.back().detected);
    }
  }

 private:
  std::vector<std::string>& log_;
};
using RecordingRunner = WiredRunner<Recording<ResultTextTable>, Recording<TestSummaryTable>>;

// Runs one check and returns what it reported, in order.
inline std::vector<std::string> runCheck(MachineFacts& facts, void (ValidationRunner::*check)()) {
  std::vector<std::string> log;
  RecordingRunner wired(facts, log);
  (wired.runner.*check)();
  return log;
}

// Runs one check and expects it to append `lines`, then report its one row.
inline void expectCheck(MachineFacts& facts, void (ValidationRunner::*check)(),
                        std::vector<std::string> lines, const std::string& testName,
                        const std::string& status, const std::string& detected) {
  lines.push_back(testName + "|" + status + "|" + detected);
  EXPECT_EQ(runCheck(facts, check), lines);
}

}  // namespace tarq::testing
