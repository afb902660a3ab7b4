#include <gtest/gtest.h>

#include <atomic>

#include "validation/CheckHarness.h"
#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

using testing::FakeMachineFacts;
using testing::RecordingSummaryTable;
using testing::RecordingTextTable;
using testing::ReportLog;

std::vector<std::string> testNames(const TestSummaryTable& summary) {
  std::vector<std::string> names;
  for (const ResultRow& row : summary.results()) {
    names.push_back(row.testName);
  }
  return names;
}

// Counts how often the checks ask for facts, to show that a pass runs every check.
struct CountingFacts final : MachineFacts {
  FakeMachineFacts values;
  std::atomic<int> questions = 0;

  OperatingSystemVersion operatingSystemVersion() override { return ++questions, values.os; }
  std::optional<uint64_t> memorySize() override { return ++questions, values.memory; }
  std::optional<int32_t> cpuCount() override { return ++questions, values.processors; }
  std::optional<uint32_t> l2CacheSize() override { return ++questions, values.l2; }
  std::optional<uint32_t> l3CacheSize() override { return ++questions, values.l3; }
  std::optional<uint32_t> cpu64BitCapable() override { return ++questions, values.capable64; }
  std::optional<int64_t> cpuFrequency() override { return ++questions, values.frequency; }
  std::optional<std::string> cpuBrandString() override { return ++questions, values.brand; }
  std::optional<std::string> machine() override { return ++questions, values.machineType; }
  int64_t freeDiskSpace() override { return ++questions, values.freeBytes; }
  int64_t totalDiskSpace() override { return ++questions, values.totalBytes; }
  double highestUSBVersion() override { return ++questions, values.usbVersion; }
  ScreenSize mainScreenSize() override { return ++questions, values.screen; }
  ChromeLocation locateChrome() override { return ++questions, values.chrome; }
  MonoVersionInfo monoVersion() override { return ++questions, values.mono; }
};
constexpr int kQuestionsPerPass = 15;

TEST(ValidationRunnerTest, SecondPassReplacesTheFirst) {
  FakeMachineFacts facts;
  testing::WiredRunner wired(facts);

  wired.runner.runAllTests();
  facts.memory = uint64_t{2} << 30;
  wired.runner.runAllTests();

  EXPECT_EQ(testNames(wired.summary), testing::kRunOrder);
  EXPECT_EQ(wired.lines.resStrings().size(), 14u);
  EXPECT_EQ(wired.lines.resStrings().at(1),
            "Application requires a minimum of 4 GigaBytes of RAM.  Memory Size:2.0 GigaBytes")
      << "only the second pass's lines remain";
}

TEST(ValidationRunnerTest, EachTableIsEmptiedAndEachReportReloadedInOrder) {
  FakeMachineFacts facts;
  facts.processors = 1;  // the processor check warns and adds its closing line
  facts.freeBytes = 0;   // the disk check fails and adds its second line
  ReportLog log;
  RecordingTextTable lines(log);
  RecordingSummaryTable summary(log);
  ValidationRunner runner(facts);
  runner.setTestResultsVC(&lines);
  runner.setTestNameVC(&summary);

  runner.runAllTests();

  EXPECT_EQ(log.events,
            (std::vector<std::string>{
                "lines emptied",
                "rows emptied",
                "line: Operating System Mac OS X Catalina (Version 10.15.7 (Build "
                "19H2) ) is a certified version for the application",
                "row: Operating System Pass",
                "line: Memory Size:16.0 GigaBytes",
                "row: RAM (Memory) Pass",
                "line: Warning Processors count : 1 ideally should be 2 or more",
                "line: Total Cache 6MB L2 Cache Size: 262144 L3 Cache Size: 6291456",
                "line: cpu is 64 bit capable",
                "line: Processor Speed: 2.6GHz",
                "line: Processor Type: x86_64",
                "line: Processor Name: Intel(R) Core(TM) i7-9750H CPU @ 2.60GHz",
                "row: Processor Warn",
                "line: The above warnings may cause the application to perform below "
                "expectations.",
                "line: Total Disk Space: 500GB Total Free Space: 0GB",
                "line: Application cannot be installed without 5 GB of free disk space.",
                "row: Primary Hard Drive Fail",
                "line: Highest Available USB Version: 3.0",
                "row: USB 2.0/3.0/3.1 Pass",
                "line: Screen Dimension 1920 X 1080. ",
                "row: Screen Resolution Pass",
                "line: Google Chrome File Location: /Applications/Google Chrome.app",
                "line: Google Chrome Version: Google Chrome 120.0.6099.129 \n ",
                "row: Supported Browsers Pass",
                "line: Mono Framework Version: 6.12.0.182",
                "row: Mono Framework Pass",
            }));
}

// A table not attached keeps what it had; every check still runs and asks for its facts.
TEST(ValidationRunnerTest, UnattachedTablesAreLeftAlone) {
  for (const bool attachLines : {false, true}) {
    for (const bool attachSummary : {false, true}) {
      SCOPED_TRACE(::testing::Message() << attachLines << attachSummary);
      CountingFacts facts;
      ValidationRunner runner(facts);
      ResultTextTable lines;
      lines.appendLine("from before");
      TestSummaryTable summary;
      summary.addResult("Earlier", "Pass", "kept");
      if (attachLines) {
        runner.setTestResultsVC(&lines);
      }
      if (attachSummary) {
        runner.setTestNameVC(&summary);
      }

      runner.runAllTests();

      EXPECT_EQ(lines.resStrings().size(), attachLines ? 14u : 1u);
      EXPECT_EQ(testNames(summary),
                attachSummary ? testing::kRunOrder : std::vector<std::string>{"Earlier"});
      EXPECT_EQ(facts.questions, kQuestionsPerPass);
    }
  }
}

TEST(ResultTablesTest, RowsAreStoredExactlyAsGiven) {
  TestSummaryTable summary;
  summary.addResult("", "fail", " odd\ttext\n");
  const ResultRow& row = summary.results().at(0);
  std::string values;
  for (const char* key : {"testName", "result", "detected", "Result", "name"}) {
    values += row.valueForKey(key) ? "[" + *row.valueForKey(key) + "]" : "none";
  }
  EXPECT_EQ(values, "[][fail][ odd\ttext\n]nonenone");
}

}  // namespace
}  // namespace tarq
