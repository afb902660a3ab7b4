#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

// The second of two passes: each table is emptied, then each check reports what it reports on
// its own, in run order.
TEST(ValidationRunnerTest, EachPassEmptiesBothTablesThenReportsInOrder) {
  testing::FakeMachineFacts facts;
  std::vector<std::string> log;
  testing::RecordingRunner wired(facts, log);
  wired.runner.runAllTests();
  facts.processors = 1;  // the processor check warns and adds its closing line after its row
  facts.freeBytes = 0;   // the disk check fails and adds its second line
  log.clear();
  wired.runner.runAllTests();

  std::vector<std::string> expected{"lines emptied", "rows emptied"};
  for (const auto check :
       {&ValidationRunner::checkOperatingSystem, &ValidationRunner::checkMemory,
        &ValidationRunner::checkProcessor, &ValidationRunner::checkDiskSpace,
        &ValidationRunner::checkUSBVersion, &ValidationRunner::checkScreenResolution,
        &ValidationRunner::checkBrowser, &ValidationRunner::checkMonoFramework}) {
    const std::vector<std::string> own = testing::runCheck(facts, check);
    expected.insert(expected.end(), own.begin(), own.end());
  }
  EXPECT_EQ(log, expected);
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
      EXPECT_EQ(summary.results().size(), attachSummary ? 8u : 1u);
      EXPECT_EQ(summary.results().back().testName, attachSummary ? "Mono Framework" : "Earlier");
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
