// The checks on a whole fixture machine: the Linux kernel-parameter service reading a /proc and
// /sys tree, the product's facts, and the checks' texts together.
#include <gtest/gtest.h>

#include "support/FixtureMachine.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

// The values the machine's files give are pinned where the service is tested; here each fact
// reaches its own place in the texts, and a fact missing from the files (the laptop without its
// L3 cache) is unknown, its failed size query writing the errno (ENOENT).
TEST(FixtureMachinesTest, ProcessorAndMemoryChecksOnTheLaptop) {
  testing::FixtureMachine machine("laptop");
  machine.root().remove("sys/devices/system/cpu/cpu0/cache/index3");
  SystemMachineFacts facts(machine.service());
  testing::expectCheck(
      facts, &ValidationRunner::checkProcessor,
      {"Processors count : 8", "Total Cache 0MB L2 Cache Size: 262144 L3 Cache Size: unknown",
       "cpu is 64 bit capable", "Processor Speed: 1.8GHz", "Processor Type: x86_64",
       "Processor Name: Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz"},
      "Processor", "Pass", "Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz, x86_64");
  testing::expectCheck(facts, &ValidationRunner::checkMemory, {"Memory Size:18.0 GigaBytes"},
                       "RAM (Memory)", "Pass", "18.0 GigaBytes");
  EXPECT_EQ(machine.diagnostics(), "2\n");
}

}  // namespace
}  // namespace tarq
