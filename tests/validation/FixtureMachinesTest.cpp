// The checks on whole fixture machines: the Linux kernel-parameter service reading a /proc and
// /sys tree, the accessors, and the checks' texts together.
#include <gtest/gtest.h>

#include "support/CapturedDiagnostics.h"
#include "system/kernel/LinuxKernelParameterService.h"
#include "system/probes/os_version_linux.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

struct FixtureMachineCase {
  std::string_view fixture;
  std::string machineType;
  std::vector<std::string> processorLines;
  ResultRow processorRow;
  std::string memoryLine;
  std::string diagnostics;
};

// The values each machine's files give are pinned where the service is tested; here a machine
// knowing every fact and one missing some run through the checks.
TEST(FixtureMachinesTest, ProcessorAndMemoryChecksOnEachMachine) {
  const FixtureMachineCase cases[] = {
      {"laptop",
       "x86_64",
       {"Processors count : 8", "Total Cache 8MB L2 Cache Size: 262144 L3 Cache Size: 8388608",
        "cpu is 64 bit capable", "Processor Speed: 1.8GHz", "Processor Type: x86_64",
        "Processor Name: Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz"},
       {"Processor", "Pass", "Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz, x86_64"},
       "Memory Size:16.0 GigaBytes",
       ""},
      {"arm-board",
       "aarch64",
       {"Processors count : 4", "Total Cache 1MB L2 Cache Size: 1048576 L3 Cache Size: unknown",
        "cpu is 64 bit capable", "Processor Speed: unknown", "Processor Type: aarch64",
        "Processor Name: ARM Cortex-A72"},
       {"Processor", "Pass", "ARM Cortex-A72, aarch64"},
       "Memory Size:4.0 GigaBytes",
       // The missing L3 and frequency: each failed size query writes its errno (ENOENT).
       "2\n2\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    testing::CapturedDiagnostics diagnostics;
    const std::string root =
        std::string(TARQ_TEST_DATA_DIR) + "/machines/" + std::string(c.fixture);
    LinuxKernelParameterService service(
        root,
        [&] {
          return KernelIdentity{"Linux", "host", "6.1.0", "#1", c.machineType};
        },
        [](uint32_t, uint32_t) { return std::optional<CpuidRegisters>(); });
    SystemMachineFacts facts(service);

    const auto processor = testing::runCheck(facts, &ValidationRunner::checkProcessor);
    EXPECT_EQ(processor.lines, c.processorLines);
    EXPECT_EQ(processor.rows, std::vector<ResultRow>{c.processorRow});
    const auto memory = testing::runCheck(facts, &ValidationRunner::checkMemory);
    EXPECT_EQ(memory.lines, std::vector<std::string>{c.memoryLine});
    EXPECT_EQ(diagnostics.text(), c.diagnostics);
  }
}

// Linux has no macOS version: whatever its kernel is numbered, it is not a certified Mac.
TEST(FixtureMachinesTest, LinuxIsOlderThanTheMinimumWhateverItsKernelRelease) {
  for (const std::string_view release : {"10.11.6", "11.2", "6.1.0-18-amd64"}) {
    SCOPED_TRACE(release);
    testing::FakeMachineFacts facts;
    facts.os = linuxOperatingSystemVersion(release, "PRETTY_NAME=\"Debian GNU/Linux 12\"\n");
    const std::string line = "This version of the Mac OS. Debian GNU/Linux 12, kernel " +
                             std::string(release) +
                             " is older than the minimum requirement Mac OS X El Capitan 10.11.6";
    const auto report = testing::runCheck(facts, &ValidationRunner::checkOperatingSystem);
    EXPECT_EQ(report.lines, std::vector<std::string>{line});
    EXPECT_EQ(report.rows, (std::vector<ResultRow>{{"Operating System", "Fail", line}}));
  }
}

}  // namespace
}  // namespace tarq
