#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

std::vector<std::string> testNames(const TestSummaryTable& summary) {
  std::vector<std::string> names;
  for (const ResultRow& row : summary.results()) {
    names.push_back(row.testName);
  }
  return names;
}

// The second of two passes: each table is emptied, then each line and row reloaded in order.
TEST(ValidationRunnerTest, EachPassEmptiesBothTablesThenReportsInOrder) {
  testing::FakeMachineFacts facts;
  std::vector<std::string> log;
  testing::RecordingRunner wired(facts, log);
  wired.runner.runAllTests();
  facts.processors = 1;  // the processor check warns and adds its closing line
  facts.freeBytes = 0;   // the disk check fails and adds its second line
  log.clear();
  wired.runner.runAllTests();

  EXPECT_EQ(log, (std::vector<std::string>{
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
  EXPECT_EQ(wired.lines.resStrings().size(), 16u);
  EXPECT_EQ(testNames(wired.summary), testing::kRunOrder);
}

// A table not attached keeps what it had; every check still runs.
TEST(ValidationRunnerTest, UnattachedTablesAreLeftAlone) {
  for (const bool attachLines : {false, true}) {
    for (const bool attachSummary : {false, true}) {
      SCOPED_TRACE(::testing::Message() << attachLines << attachSummary);
      testing::FakeMachineFacts facts;
      ValidationRunner runner(facts);
      int started = 0;
      runner.setCheckStarted([&](std::size_t, std::string_view) { ++started; });
      ResultTextTable lines;
      lines.appendLine("from before");
      TestSummaryTable summary;
      summary.addResult("Earlier", "Pass", "kept");
      runner.setTestResultsVC(attachLines ? &lines : nullptr);
      runner.setTestNameVC(attachSummary ? &summary : nullptr);

      runner.runAllTests();

      EXPECT_EQ(lines.resStrings().size(), attachLines ? 14u : 1u);
      EXPECT_EQ(testNames(summary),
                attachSummary ? testing::kRunOrder : std::vector<std::string>{"Earlier"});
      EXPECT_EQ(started, 8);
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
