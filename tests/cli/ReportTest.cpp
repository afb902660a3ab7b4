#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/Report.h"

namespace tarq {
namespace {

TEST(ReportTest, ExitStatusIsTheWorstRow) {
  const struct {
    std::vector<std::string> statuses;
    int exitStatus;
  } cases[] = {
      {{"Pass", "Pass"}, 0},
      {{"Pass", "Warn"}, 1},
      {{"Warn", "Fail", "Pass"}, 2},
      {{"Fail"}, 2},
      {{"fail", "WARN"}, 0},  // not status words: no highlight, no effect
      {{}, 0},
  };
  for (const auto& c : cases) {
    std::vector<ResultRow> rows;
    for (const std::string& status : c.statuses) {
      rows.push_back({"Check", status, ""});
    }
    EXPECT_EQ(exitStatusFor(rows), c.exitStatus);
  }
}

TEST(ReportTest, TerminalSafeTextCannotBreakTheTableOrDriveTheTerminal) {
  const struct {
    std::string_view raw;
    std::string_view safe;
  } cases[] = {
      {"Google Chrome 120.0.6099.109 \n", "Google Chrome 120.0.6099.109 \\n"},
      {"a\tb\r", "a\\tb\\r"},
      {"\x1b[2J\x1b]0;title\x07", "\\x1b[2J\\x1b]0;title\\x07"},
      {"del\x7f", "del\\x7f"},
      {"\xC2\x9B"
       "31m",
       "\\u009b31m"},
      // The C1 control range is U+0080 to U+009F; the no-break space after it is text.
      {"\xC2\x80|\xC2\x9F|\xC2\xA0", "\\u0080|\\u009f|\xC2\xA0"},
      {"bad \xFF byte", "bad \xEF\xBF\xBD byte"},
      {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(terminalSafe(c.raw), c.safe);
  }
}

const std::vector<ResultRow> kRows{{"Operating System", "Pass", "Version 14.2"},
                                   {"RAM (Memory)", "Fail", "2.0 GigaBytes"},
                                   {"Processor", "Warn", "Apple M1, arm64"}};
const std::vector<std::string> kLines{"first line", "second\nline"};

TEST(ReportTest, TextReportAlignsTheColumnsAndListsTheLines) {
  EXPECT_EQ(textReport(kRows, kLines, false),
            "Check             Result  Detected\n"
            "Operating System  Pass    Version 14.2\n"
            "RAM (Memory)      Fail    2.0 GigaBytes\n"
            "Processor         Warn    Apple M1, arm64\n"
            "\n"
            "first line\n"
            "second\\nline\n");
}

TEST(ReportTest, TextReportColoursFailRedAndWarnYellow) {
  const std::string report = textReport(kRows, {}, true);
  EXPECT_NE(report.find("Operating System  Pass    Version 14.2\n"), std::string::npos);
  EXPECT_NE(report.find("\x1b[31mRAM (Memory)      Fail    2.0 GigaBytes\x1b[0m\n"),
            std::string::npos);
  EXPECT_NE(report.find("\x1b[33mProcessor         Warn    Apple M1, arm64\x1b[0m\n"),
            std::string::npos);
  EXPECT_EQ(textReport(kRows, {}, false).find('\x1b'), std::string::npos);
}

TEST(ReportTest, TextReportCountsCharactersNotBytesForAlignment) {
  const std::string report =
      textReport({{"Caf\xC3\xA9", "Pass", "x"}, {"Bistro", "Pass", "y"}}, {}, false);
  EXPECT_NE(report.find("Caf\xC3\xA9    Pass    x\n"), std::string::npos) << report;
}

TEST(ReportTest, JsonReportKeepsExactTextsInOrder) {
  const auto report = nlohmann::ordered_json::parse(jsonReport(kRows, kLines));
  EXPECT_EQ(
      report.dump(),
      R"json({"rows":[{"testName":"Operating System","result":"Pass","detected":"Version 14.2"},)json"
      R"json({"testName":"RAM (Memory)","result":"Fail","detected":"2.0 GigaBytes"},)json"
      R"json({"testName":"Processor","result":"Warn","detected":"Apple M1, arm64"}],)json"
      R"json("lines":["first line","second\nline"]})json");
}

TEST(ReportTest, JsonReportIsValidUtf8WhateverTheInput) {
  const std::string json = jsonReport({{"T", "Pass", "bad \xFF\xFE"}}, {"\xC3"});
  const auto report = nlohmann::json::parse(json);
  EXPECT_EQ(report["rows"][0]["detected"], "bad \xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(report["lines"][0], "\xEF\xBF\xBD");
  EXPECT_EQ(json.back(), '\n');
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 1);
}

}  // namespace
}  // namespace tarq
