#pragma once

#include <string>
#include <vector>

#include "validation/MachineFacts.h"
#include "validation/ValidationRunner.h"

namespace tarq::testing {

// The checks' names in the order a pass runs them.
inline const std::vector<std::string> kRunOrder{
    "Operating System", "RAM (Memory)",      "Processor",          "Primary Hard Drive",
    "USB 2.0/3.0/3.1",  "Screen Resolution", "Supported Browsers", "Mono Framework"};

// A machine described by plain values: a well-equipped Intel Mac on Catalina unless a test
// says otherwise.
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

// What one check reported, in the order it reported it.
struct CheckReport {
  std::vector<std::string> lines;
  std::vector<ResultRow> rows;
};

// A runner with both tables attached, as the window wires it.
struct WiredRunner {
  explicit WiredRunner(MachineFacts& facts) : runner(facts) {
    runner.setTestResultsVC(&lines);
    runner.setTestNameVC(&summary);
  }
  ResultTextTable lines;
  TestSummaryTable summary;
  ValidationRunner runner;
};

}  // namespace tarq::testing

namespace tarq::testing {

// Tables that log every change as it is reloaded, so tests can see the order in which lines
// and rows arrive across both tables.
struct ReportLog {
  std::vector<std::string> events;
};

class RecordingTextTable final : public ResultTextTable {
 public:
  explicit RecordingTextTable(ReportLog& log) : log_(log) {}

 protected:
  void reloadData() override {
    log_.events.push_back(resStrings().empty() ? "lines emptied" : "line: " + resStrings().back());
  }

 private:
  ReportLog& log_;
};

class RecordingSummaryTable final : public TestSummaryTable {
 public:
  explicit RecordingSummaryTable(ReportLog& log) : log_(log) {}

 protected:
  void reloadData() override {
    log_.events.push_back(results().empty() ? "rows emptied"
                                            : "row: " + results().back().testName + " " +
                                                  results().back().result);
  }

 private:
  ReportLog& log_;
};

// Runs one check. Every check appends its lines first and reports its one row last; only a
// processor that warns appends one line more after its row.
inline CheckReport runCheck(MachineFacts& facts, void (ValidationRunner::*check)()) {
  ReportLog log;
  RecordingTextTable lines(log);
  RecordingSummaryTable summary(log);
  ValidationRunner runner(facts);
  runner.setTestResultsVC(&lines);
  runner.setTestNameVC(&summary);
  (runner.*check)();
  const bool extraLine = summary.results().size() == 1 &&
                         summary.results()[0].testName == "Processor" &&
                         summary.results()[0].result == "Warn";
  const std::size_t rowAt = log.events.size() - (extraLine ? 2 : 1);
  EXPECT_EQ(summary.results().size(), 1u);
  EXPECT_TRUE(!log.events.empty() && log.events[rowAt].starts_with("row: "))
      << "the row is not reported after the lines";
  return {lines.resStrings(), summary.results()};
}

}  // namespace tarq::testing
