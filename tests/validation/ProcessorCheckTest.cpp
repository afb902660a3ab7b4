#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using testing::CheckReport;
using testing::FakeMachineFacts;
using testing::runCheck;

const std::string kClosingLine =
    "The above warnings may cause the application to perform below expectations.";

CheckReport runProcessorCheck(FakeMachineFacts& facts) {
  return runCheck(facts, &ValidationRunner::checkProcessor);
}

TEST(ProcessorCheckTest, WellEquippedMachinePassesWithSixLines) {
  FakeMachineFacts facts;
  const auto report = runProcessorCheck(facts);
  EXPECT_EQ(report.lines, (std::vector<std::string>{
                              "Processors count : 8",
                              "Total Cache 6MB L2 Cache Size: 262144 L3 Cache Size: 6291456",
                              "cpu is 64 bit capable",
                              "Processor Speed: 2.6GHz",
                              "Processor Type: x86_64",
                              "Processor Name: Intel(R) Core(TM) i7-9750H CPU @ 2.60GHz",
                          }));
  EXPECT_EQ(report.rows,
            (std::vector<ResultRow>{
                {"Processor", "Pass", "Intel(R) Core(TM) i7-9750H CPU @ 2.60GHz, x86_64"}}));
}

TEST(ProcessorCheckTest, ProcessorCountWarnsBelowTwo) {
  const struct {
    std::optional<int32_t> count;
    std::string line;
    std::string_view status;
  } cases[] = {
      {2, "Processors count : 2", "Pass"},
      {1, "Warning Processors count : 1 ideally should be 2 or more", "Warn"},
      {0, "Warning Processors count : 0 ideally should be 2 or more", "Warn"},
      {-1, "Warning Processors count : -1 ideally should be 2 or more", "Warn"},
      {std::nullopt, "Warning Processors count : unknown ideally should be 2 or more", "Warn"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    FakeMachineFacts facts;
    facts.processors = c.count;
    const auto report = runProcessorCheck(facts);
    EXPECT_EQ(report.lines.at(0), c.line);
    EXPECT_EQ(report.rows.at(0).result, c.status);
  }
}

TEST(ProcessorCheckTest, CacheLineShowsTruncatedMegabytesAndByteCounts) {
  const struct {
    std::optional<uint32_t> l2, l3;
    std::string line;
  } cases[] = {
      {262144, 6291456, "Total Cache 6MB L2 Cache Size: 262144 L3 Cache Size: 6291456"},
      {524288, 0, "Total Cache 0MB L2 Cache Size: 524288 L3 Cache Size: 0"},
      {1048575, 0, "Total Cache 0MB L2 Cache Size: 1048575 L3 Cache Size: 0"},
      // The sum does not wrap at 32 bits.
      {UINT32_MAX, UINT32_MAX,
       "Total Cache 8191MB L2 Cache Size: 4294967295 L3 Cache Size: 4294967295"},
      // A level that cannot be read (no L3 on the machine) is unknown and adds nothing.
      {4194304, std::nullopt, "Total Cache 4MB L2 Cache Size: 4194304 L3 Cache Size: unknown"},
      {std::nullopt, std::nullopt,
       "Total Cache unknown L2 Cache Size: unknown L3 Cache Size: unknown"},
  };
  for (const auto& c : cases) {
    FakeMachineFacts facts;
    facts.l2 = c.l2;
    facts.l3 = c.l3;
    const auto report = runProcessorCheck(facts);
    EXPECT_EQ(report.lines.at(1), c.line);
    EXPECT_EQ(report.rows.at(0).result, "Pass") << "caches never change the status";
  }
}

TEST(ProcessorCheckTest, OnlyExactlyOneIsSixtyFourBitCapable) {
  const struct {
    std::optional<uint32_t> capable;
    std::string line;
    std::string_view status;
  } cases[] = {
      {1, "cpu is 64 bit capable", "Pass"},
      {0, "Warning cpu is NOT 64 bit capable", "Warn"},
      {2, "Warning cpu is NOT 64 bit capable", "Warn"},
      {std::nullopt, "Warning cpu 64 bit capability is unknown", "Warn"},
  };
  for (const auto& c : cases) {
    FakeMachineFacts facts;
    facts.capable64 = c.capable;
    const auto report = runProcessorCheck(facts);
    EXPECT_EQ(report.lines.at(2), c.line);
    EXPECT_EQ(report.rows.at(0).result, c.status);
  }
}

TEST(ProcessorCheckTest, SpeedWarnsAtOrBelowTwoPointFourUnlessIntel) {
  const struct {
    std::optional<int64_t> frequency;
    std::string brand;
    std::string line;
    std::string_view status;
  } cases[] = {
      {2400000000, "AMD Ryzen 5",
       "Warning Processor Speed: 2.4GHz less than desired speed > 2.4 GHz", "Warn"},
      {2400000001, "AMD Ryzen 5", "Processor Speed: 2.400000001GHz", "Pass"},
      {2399999999, "AMD Ryzen 5",
       "Warning Processor Speed: 2.399999999GHz less than desired speed > 2.4 GHz", "Warn"},
      {2400000000, "Intel(R) Core(TM) i5", "Processor Speed: 2.4GHz", "Pass"},
      {1100000000, "INTEL Atom", "Processor Speed: 1.1GHz", "Pass"},
      {800000000, "genuine iNtEl", "Processor Speed: 0.8GHz", "Pass"},
      {2600000000, "Apple M1", "Processor Speed: 2.6GHz", "Pass"},
      {3000000000, "Apple M1", "Processor Speed: 3.0GHz", "Pass"},
      {2693000000, "AMD EPYC", "Processor Speed: 2.693GHz", "Pass"},
      {2600002000, "AMD EPYC", "Processor Speed: 2.600002GHz", "Pass"},
      {0, "AMD EPYC", "Warning Processor Speed: 0.0GHz less than desired speed > 2.4 GHz", "Warn"},
      // No published frequency (ARM Macs): unknown, and no evidence of a slow machine.
      {std::nullopt, "Apple M2", "Processor Speed: unknown", "Pass"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    FakeMachineFacts facts;
    facts.frequency = c.frequency;
    facts.brand = c.brand;
    const auto report = runProcessorCheck(facts);
    EXPECT_EQ(report.lines.at(3), c.line);
    EXPECT_EQ(report.rows.at(0).result, c.status);
  }
}

TEST(ProcessorCheckTest, BrandAndTypeAreShownAsRead) {
  FakeMachineFacts facts;
  facts.brand = "  Apple M1 Pro";
  facts.machineType = "arm64";
  const auto report = runProcessorCheck(facts);
  EXPECT_EQ(report.lines.at(4), "Processor Type: arm64");
  EXPECT_EQ(report.lines.at(5), "Processor Name:   Apple M1 Pro");
  EXPECT_EQ(report.rows.at(0).detected, "  Apple M1 Pro, arm64");

  facts.brand = std::nullopt;
  facts.machineType = std::nullopt;
  const auto unknown = runProcessorCheck(facts);
  EXPECT_EQ(unknown.lines.at(4), "Processor Type: unknown");
  EXPECT_EQ(unknown.lines.at(5), "Processor Name: unknown");
  EXPECT_EQ(unknown.rows.at(0).detected, "unknown, unknown");
}

TEST(ProcessorCheckTest, AnyWarningAddsTheClosingLineAfterTheRow) {
  FakeMachineFacts facts;
  facts.capable64 = 0;  // the only warning
  testing::ReportLog log;
  testing::RecordingTextTable lines(log);
  testing::RecordingSummaryTable summary(log);
  ValidationRunner runner(facts);
  runner.setTestResultsVC(&lines);
  runner.setTestNameVC(&summary);

  runner.checkProcessor();

  ASSERT_EQ(log.events.size(), 8u);
  EXPECT_EQ(log.events[5], "line: Processor Name: Intel(R) Core(TM) i7-9750H CPU @ 2.60GHz");
  EXPECT_EQ(log.events[6], "row: Processor Warn");
  EXPECT_EQ(log.events[7], "line: " + kClosingLine);
}

TEST(ProcessorCheckTest, ClosingLineComesOnlyWithAWarning) {
  FakeMachineFacts facts;
  const auto report = runProcessorCheck(facts);
  EXPECT_EQ(report.lines.size(), 6u);

  facts.processors = 1;
  facts.capable64 = 0;
  facts.frequency = 1000000000;
  facts.brand = "AMD";
  const auto warned = runProcessorCheck(facts);
  ASSERT_EQ(warned.lines.size(), 7u) << "three warnings, one closing line";
  EXPECT_EQ(warned.lines.back(), kClosingLine);
}

}  // namespace
}  // namespace tarq
