// The report for programs over passes of fake machines: what it adds to the first report's keys.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "report/PassReport.h"
#include "report/Report.h"
#include "support/TemporaryDirectory.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using Json = nlohmann::ordered_json;

struct Pass {
  explicit Pass(MachineFacts& facts, ValidationRunner::CheckSet skip = {})
      : wired(facts), skipped(skip) {
    wired.runner.setMeasurementTable(&measurements);
    wired.runner.setSkippedChecks(skipped);
    wired.runner.runAllTests();
  }
  PassRecord record(MachineDescription machine = {}) const {
    const auto start = std::chrono::system_clock::time_point(std::chrono::seconds(1796675400));
    const auto end = start + std::chrono::milliseconds(1250);
    return {wired.summary, wired.lines, measurements,       skipped,
            start,         end,         std::move(machine), "9.8.7"};
  }
  Json json() const { return Json::parse(jsonPassReport(record())); }

  testing::WiredRunner<> wired;
  CheckMeasurementTable measurements;
  ValidationRunner::CheckSet skipped;
};

// The first report's keys are its rows and lines exactly, ill-formed bytes replaced alike; a
// serial number that cannot be read is left out, not null.
TEST(PassReportTest, RowsAndLinesAreThoseOfTheFirstReportThenThePassAndMachine) {
  testing::FakeMachineFacts facts;
  facts.brand = "Bad \xff brand \"quoted\"\n";
  const Pass pass(facts);
  MachineDescription machine{"mac-17", "MacBookPro18,3", std::nullopt, "macOS",
                             "14.2.1", "23C71",          "arm64"};
  Json report = Json::parse(jsonPassReport(pass.record(machine)));
  Json firstKeys = {{"rows", report["rows"]}, {"lines", report["lines"]}};
  EXPECT_EQ(firstKeys.dump(-1, ' ', false) + "\n",
            jsonReport(pass.wired.summary.results(), pass.wired.lines.resStrings()));
  EXPECT_EQ(report.begin().key(), "rows");
  EXPECT_EQ(report["schemaVersion"], 2);
  EXPECT_EQ(report["startedAt"], "2026-12-07T20:30:00Z");
  EXPECT_EQ(report["finishedAt"], "2026-12-07T20:30:01Z");
  EXPECT_EQ(report["durationSeconds"], 1.25);
  EXPECT_EQ(report["program"], Json({{"name", "tarq-validate"}, {"version", "9.8.7"}}));
  EXPECT_FALSE(report["machine"].contains("serialNumber"));
  EXPECT_EQ(report["machine"]["operatingSystem"]["build"], "23C71");
  machine.serialNumber = "C02XK0ABCDEF";
  machine.hostName.reset();
  const Json described = Json::parse(jsonPassReport(pass.record(machine)))["machine"];
  EXPECT_EQ(described["serialNumber"], "C02XK0ABCDEF");
  EXPECT_TRUE(described["hostName"].is_null());
}

// As root without a window session the screen is 0 × 0: left out, the rest decides.
TEST(PassReportTest, SkippedChecksDoNotCountInTheVerdict) {
  testing::FakeMachineFacts facts;
  facts.screen = {0, 0};
  const struct {
    std::string name;
    ValidationRunner::CheckSet skipped;
    std::string verdict;
    int exitStatus;
    std::size_t rows;
  } cases[] = {{"every check", {}, "notReady", 2, 8},
               {"screen skipped", ValidationRunner::CheckSet().set(5), "ready", 0, 7},
               {"all skipped", ValidationRunner::CheckSet().set(), "ready", 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Pass pass(facts, c.skipped);
    const Json report = pass.json();
    EXPECT_EQ(report["verdict"], c.verdict);
    EXPECT_EQ(exitStatusFor(countStatuses(pass.wired.summary.results())), c.exitStatus);
    EXPECT_EQ(report["rows"].size(), c.rows);
    // Their identifiers, and no values for a skipped one: cli.report_matches_schema.
    for (std::size_t i = 0; i < kChecksInRunOrder.size(); ++i) {
      EXPECT_EQ(report["checks"][i]["result"] == "Skipped", c.skipped.test(i)) << i;
    }
  }
  const Json screen = Pass(facts).json()["checks"][5];
  EXPECT_EQ(screen["measured"], Json({{"widthPoints", nullptr}, {"heightPoints", nullptr}}));
  EXPECT_EQ(screen["lines"].size(), 1u);
  EXPECT_FALSE(screen["remedy"].is_null());
}

TEST(PassReportTest, MeasuredValuesAndRequirementsAreThoseThePassJudgedBy) {
  testing::FakeMachineFacts facts;
  facts.l3 = std::nullopt;
  facts.chrome = {"", ""};
  const Json checks = Pass(facts).json()["checks"];
  const std::pair<std::string, Json> cases[] = {
      {"/0/measured", {{"version", "10.15.7"}, {"versionText", "Version 10.15.7 (Build 19H2)"}}},
      {"/1/measured/bytes", uint64_t{16} << 30},
      {"/2/measured/l3CacheBytes", nullptr},
      {"/2/measured/hertz", 2600000000},
      {"/2/measured/is64Bit", true},
      {"/3/measured", {{"freeBytes", int64_t{200} << 30}, {"totalBytes", int64_t{500} << 30}}},
      {"/4/measured/highestVersion", "3.0"},
      {"/5/measured", {{"widthPoints", 1920}, {"heightPoints", 1080}}},
      {"/6/measured", {{"path", nullptr}, {"version", nullptr}}},
      {"/6/result", "Fail"},
      {"/7/measured/version", "6.12.0.182"},
      {"/7/remedy", nullptr},
      // The bounds the checks judge by, as ChecksTest pins them at and just past each one.
      {"/0/requirement", {{"minimumVersion", "10.11.6"}}},
      {"/1/requirement", {{"minimumBytes", int64_t{4} << 30}}},
      {"/2/requirement",
       {{"minimumCount", 2},
        {"requires64Bit", true},
        {"minimumHertz", 2400000000},
        {"speedWaivedForIntel", true}}},
      {"/3/requirement", {{"minimumFreeBytes", int64_t{5} << 30}}},
      {"/4/requirement", {{"minimumVersion", "2.0"}}},
      {"/5/requirement", {{"minimumWidthPoints", 1024}, {"minimumHeightPoints", 768}}},
      {"/6/requirement", {{"application", "Google Chrome"}, {"folder", "/Applications"}}},
      {"/7/requirement", {{"minimumMajorVersion", 4}}},
  };
  for (const auto& [pointer, value] : cases) {
    EXPECT_EQ(checks.at(Json::json_pointer(pointer)), value) << pointer;
  }
}

// Read back with Python's plistlib, the property list is the JSON report's data without its
// nulls; characters XML cannot carry become U+FFFD, and a carriage return survives.
TEST(PassReportTest, PropertyListIsTheJsonDataWithoutNulls) {
  const std::string readBack = R"(
import json, plistlib, sys
def expected(value):
    if isinstance(value, dict):
        return {k: expected(v) for k, v in value.items() if v is not None}
    if isinstance(value, list):
        return [expected(v) for v in value if v is not None]
    return value.replace("\x1b", "\ufffd") if isinstance(value, str) else value
plist = plistlib.load(open(sys.argv[1], "rb"))
data = expected(json.load(open(sys.argv[2])))
sys.exit(0 if plist == data and list(plist) == list(data) else 1)
)";
  testing::FakeMachineFacts facts;
  facts.brand = "<Intel> & \"co\"\r\n\ttab \u00e9";  // markup and line ends
  facts.machineType = "x86 \x1b[31m \xff";           // an escape and a bad byte
  facts.l3 = std::nullopt;
  const Pass pass(facts);
  const testing::TemporaryDirectory directory;
  directory.write("report.plist", plistPassReport(pass.record()));
  directory.write("report.json", jsonPassReport(pass.record()));
  directory.write("read-back.py", readBack);
  const std::string command = "python3 '" + directory.string() + "/read-back.py' '" +
                              directory.string() + "/report.plist' '" + directory.string() +
                              "/report.json'";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace tarq
