// The checks on whole fixture machines: the Linux kernel-parameter service reading a /proc and
// /sys tree, the product's facts, and the checks' texts together.
#include <gtest/gtest.h>

#include "support/FixtureMachine.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

// The values each machine's files give are pinned where the service is tested; here a machine
// knowing every fact and one missing some run through the checks.
TEST(FixtureMachinesTest, ProcessorAndMemoryChecksOnEachMachine) {
  const struct {
    std::string_view fixture;
    std::string machineType;
    std::vector<std::string> processorLines;
    std::string detected, memoryLine, diagnostics;
  } cases[] = {
      {"laptop",
       "x86_64",
       {"Processors count : 8", "Total Cache 8MB L2 Cache Size: 262144 L3 Cache Size: 8388608",
        "cpu is 64 bit capable", "Processor Speed: 1.8GHz", "Processor Type: x86_64",
        "Processor Name: Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz"},
       "Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz, x86_64",
       "Memory Size:16.0 GigaBytes",
       ""},
      // The missing L3 and frequency: each failed size query writes its errno (ENOENT).
      {"arm-board",
       "aarch64",
       {"Processors count : 4", "Total Cache 1MB L2 Cache Size: 1048576 L3 Cache Size: unknown",
        "cpu is 64 bit capable", "Processor Speed: unknown", "Processor Type: aarch64",
        "Processor Name: ARM Cortex-A72"},
       "ARM Cortex-A72, aarch64",
       "Memory Size:4.0 GigaBytes",
       "2\n2\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    testing::FixtureMachine machine(c.fixture, c.machineType);
    SystemMachineFacts facts(machine.service());
    testing::expectCheck(facts, &ValidationRunner::checkProcessor, c.processorLines, "Processor",
                         "Pass", c.detected);
    testing::expectCheck(facts, &ValidationRunner::checkMemory, {c.memoryLine}, "RAM (Memory)",
                         "Pass", c.memoryLine.substr(12));
    EXPECT_EQ(machine.diagnostics(), c.diagnostics);
  }
}

}  // namespace
}  // namespace tarq
