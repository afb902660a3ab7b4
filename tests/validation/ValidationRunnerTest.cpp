#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

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

  std::string events;
  for (const std::string& event : log) {
    events += event + "; ";
  }
  EXPECT_EQ(events,
            "lines emptied; rows emptied; line; Operating System Pass; line; RAM (Memory) Pass; "
            "line; line; line; line; line; line; Processor Warn; line; line; line; Primary Hard "
            "Drive Fail; line; USB 2.0/3.0/3.1 Pass; line; Screen Resolution Pass; line; line; "
            "Supported Browsers Pass; line; Mono Framework Pass; ");
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
