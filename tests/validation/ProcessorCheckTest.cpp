#include <gtest/gtest.h>

#include <functional>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using testing::FakeMachineFacts;

const std::string kClosingLine =
    "The above warnings may cause the application to perform below expectations.";

// Each row changes one fact of a well-equipped machine and names the line it shows in; any
// warning adds the closing line after the six lines.
TEST(ProcessorCheckTest, EachFactHasItsLineAndThreshold) {
  using F = FakeMachineFacts;
  const struct {
    std::function<void(F&)> change;
    size_t index;
    std::string line;
    std::string_view status;
  } cases[] = {
      {[](F&) {}, 0, "Processors count : 8", "Pass"},
      {[](F& f) { f.processors = 2; }, 0, "Processors count : 2", "Pass"},
      {[](F& f) { f.processors = 1; }, 0,
       "Warning Processors count : 1 ideally should be 2 or more", "Warn"},
      {[](F& f) { f.processors = -1; }, 0,
       "Warning Processors count : -1 ideally should be 2 or more", "Warn"},
      {[](F& f) { f.processors = std::nullopt; }, 0,
       "Warning Processors count : unknown ideally should be 2 or more", "Warn"},
      // Cache sizes never change the status; megabytes are truncated.
      {[](F&) {}, 1, "Total Cache 6MB L2 Cache Size: 262144 L3 Cache Size: 6291456", "Pass"},
      {[](F& f) { f.l2 = 1048575, f.l3 = 0; }, 1,
       "Total Cache 0MB L2 Cache Size: 1048575 L3 Cache Size: 0", "Pass"},
      // The sum does not wrap at 32 bits.
      {[](F& f) { f.l2 = f.l3 = UINT32_MAX; }, 1,
       "Total Cache 8191MB L2 Cache Size: 4294967295 L3 Cache Size: 4294967295", "Pass"},
      // A level that cannot be read (no L3 on the machine) is unknown and adds nothing.
      {[](F& f) { f.l2 = 4194304, f.l3 = std::nullopt; }, 1,
       "Total Cache 4MB L2 Cache Size: 4194304 L3 Cache Size: unknown", "Pass"},
      {[](F& f) { f.l2 = f.l3 = std::nullopt; }, 1,
       "Total Cache unknown L2 Cache Size: unknown L3 Cache Size: unknown", "Pass"},
      {[](F&) {}, 2, "cpu is 64 bit capable", "Pass"},
      {[](F& f) { f.capable64 = 0; }, 2, "Warning cpu is NOT 64 bit capable", "Warn"},
      {[](F& f) { f.capable64 = 2; }, 2, "Warning cpu is NOT 64 bit capable", "Warn"},
      {[](F& f) { f.capable64 = std::nullopt; }, 2, "Warning cpu 64 bit capability is unknown",
       "Warn"},
      // Speed warns at or below 2.4 GHz, unless the brand names Intel in any case.
      {[](F& f) { f.frequency = 2400000000, f.brand = "AMD Ryzen 5"; }, 3,
       "Warning Processor Speed: 2.4GHz less than desired speed > 2.4 GHz", "Warn"},
      {[](F& f) { f.frequency = 2400000001, f.brand = "AMD Ryzen 5"; }, 3,
       "Processor Speed: 2.400000001GHz", "Pass"},
      {[](F& f) { f.frequency = 2399999999, f.brand = "AMD Ryzen 5"; }, 3,
       "Warning Processor Speed: 2.399999999GHz less than desired speed > 2.4 GHz", "Warn"},
      {[](F& f) { f.frequency = 2400000000, f.brand = "Intel(R) Core(TM) i5"; }, 3,
       "Processor Speed: 2.4GHz", "Pass"},
      {[](F& f) { f.frequency = 800000000, f.brand = "genuine iNtEl"; }, 3,
       "Processor Speed: 0.8GHz", "Pass"},
      {[](F& f) { f.frequency = 3000000000, f.brand = "Apple M1"; }, 3, "Processor Speed: 3.0GHz",
       "Pass"},
      {[](F& f) { f.frequency = 2600002000, f.brand = "AMD EPYC"; }, 3,
       "Processor Speed: 2.600002GHz", "Pass"},
      {[](F& f) { f.frequency = 0, f.brand = "AMD EPYC"; }, 3,
       "Warning Processor Speed: 0.0GHz less than desired speed > 2.4 GHz", "Warn"},
      // No published frequency (ARM Macs): unknown, and no evidence of a slow machine.
      {[](F& f) { f.frequency = std::nullopt, f.brand = "Apple M2"; }, 3,
       "Processor Speed: unknown", "Pass"},
      {[](F&) {}, 4, "Processor Type: x86_64", "Pass"},
      {[](F& f) { f.machineType = std::nullopt; }, 4, "Processor Type: unknown", "Pass"},
      {[](F& f) { f.brand = "  Apple M1 Pro"; }, 5, "Processor Name:   Apple M1 Pro", "Pass"},
      {[](F& f) { f.brand = std::nullopt; }, 5, "Processor Name: unknown", "Pass"},
      // Three warnings, one closing line.
      {[](F& f) { f.processors = 1, f.capable64 = 0, f.frequency = 1, f.brand = "AMD"; }, 2,
       "Warning cpu is NOT 64 bit capable", "Warn"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    FakeMachineFacts facts;
    c.change(facts);
    const auto report = testing::runCheck(facts, &ValidationRunner::checkProcessor);
    const bool warns = c.status == "Warn";
    ASSERT_EQ(report.lines.size(), warns ? 7u : 6u);
    EXPECT_EQ(report.lines.at(c.index), c.line);
    EXPECT_EQ(report.lines.back(), warns ? kClosingLine : report.lines.at(5));
    ASSERT_EQ(report.rows.size(), 1u);
    EXPECT_EQ(report.rows[0].testName, "Processor");
    EXPECT_EQ(report.rows[0].result, c.status);
  }
}

TEST(ProcessorCheckTest, RowShowsBrandAndTypeAsRead) {
  FakeMachineFacts facts;
  facts.brand = "  Apple M1 Pro";
  facts.machineType = "arm64";
  EXPECT_EQ(testing::runCheck(facts, &ValidationRunner::checkProcessor).rows.at(0).detected,
            "  Apple M1 Pro, arm64");
  facts.brand = std::nullopt;
  facts.machineType = std::nullopt;
  EXPECT_EQ(testing::runCheck(facts, &ValidationRunner::checkProcessor).rows.at(0).detected,
            "unknown, unknown");
}

}  // namespace
}  // namespace tarq
