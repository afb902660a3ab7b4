// The memory and processor checks on six real Macs: their published `sysctl` outputs answered
// through the macOS kernel-parameter service (the code a Mac runs, down to the sysctl calls).
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "support/CapturedDiagnostics.h"
#include "support/FakeDarwinKernel.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

struct RealMac {
  std::string name;
  std::string output;  // under tests/data/sysctl
  // What the output lacks but the Mac has: `sysctl hw` prints neither hw.machine nor
  // machdep.cpu.brand_string.
  std::map<std::string, std::string> extra;
  std::vector<std::string> processor;
  std::vector<std::string> memory;
  // Each failed size query writes its errno (ENOENT) to the diagnostic stream: on Apple silicon
  // the L3 cache and the frequency.
  std::string diagnostics;
};

// Names the case in the test list, not its bytes.
void PrintTo(const RealMac& mac, std::ostream* stream) {
  *stream << mac.name;
}

std::vector<std::string> appleSilicon(const std::string& count, const std::string& brand) {
  return {"Processors count : " + count,
          "Total Cache 4MB L2 Cache Size: 4194304 L3 Cache Size: unknown",
          "cpu is 64 bit capable",
          "Processor Speed: unknown",
          "Processor Type: arm64",
          "Processor Name: " + brand,
          "Processor|Pass|" + brand + ", arm64"};
}

std::vector<std::string> enoughMemory(const std::string& size) {
  return {"Memory Size:" + size, "RAM (Memory)|Pass|" + size};
}

const std::map<std::string, std::string> kArm64{{"hw.machine", "arm64"}};

std::map<std::string, std::string> arm64Named(const std::string& brand) {
  return {{"hw.machine", "arm64"}, {"machdep.cpu.brand_string", brand}};
}

const std::vector<RealMac> kMacs{
    {"M1MacBookAir", "sysctl-hw-m1-macbookair-J313.txt", arm64Named("Apple M1"),
     appleSilicon("8", "Apple M1"), enoughMemory("16.0 GigaBytes"), "2\n2\n"},
    {"M2MacBookAir", "sysctl-hw-m2-macbookair-J413.txt", arm64Named("Apple M2"),
     appleSilicon("8", "Apple M2"), enoughMemory("24.0 GigaBytes"), "2\n2\n"},
    {"M3MaxMacBookPro", "sysctl-hw-m3max-macbookpro16-J516c.txt", arm64Named("Apple M3 Max"),
     appleSilicon("16", "Apple M3 Max"), enoughMemory("128.0 GigaBytes"), "2\n2\n"},
    {"M4ProMacMini", "sysctl-hw-m4pro-macmini-J773s.txt", arm64Named("Apple M4 Pro"),
     appleSilicon("14", "Apple M4 Pro"), enoughMemory("64.0 GigaBytes"), "2\n2\n"},
    {"M1ProMacBookProOnSonoma", "sysctl-hw-machdep-kern-m1pro-macbookpro18-1-macos14.4.1.txt",
     kArm64, appleSilicon("10", "Apple M1 Pro"), enoughMemory("32.0 GigaBytes"), "2\n2\n"},
    // A virtual machine of one processor and 2 GB, whose Intel processor is not held to 2.4 GHz.
    {"IntelVirtualMachineOnSonoma",
     "sysctl-hw-machdep-kern-intel-i7-8700B-parallels-vm-macos14.3.1.txt",
     {{"hw.machine", "x86_64"}},
     {"Warning Processors count : 1 ideally should be 2 or more",
      "Total Cache 12MB L2 Cache Size: 262144 L3 Cache Size: 12582912", "cpu is 64 bit capable",
      "Processor Speed: 3.192GHz", "Processor Type: x86_64",
      "Processor Name: Intel(R) Core(TM) i7-8700B CPU @ 3.20GHz",
      "Processor|Warn|Intel(R) Core(TM) i7-8700B CPU @ 3.20GHz, x86_64",
      "The above warnings may cause the application to perform below expectations."},
     {"Application requires a minimum of 4 GigaBytes of RAM.  Memory Size:2.0 GigaBytes",
      "RAM (Memory)|Fail|2.0 GigaBytes"},
     ""},
};

class RealMacsTest : public ::testing::TestWithParam<RealMac> {};

TEST_P(RealMacsTest, MemoryAndProcessorChecks) {
  const RealMac& mac = GetParam();
  testing::FakeDarwinKernel kernel(std::string(TARQ_TEST_DATA_DIR) + "/sysctl/" + mac.output,
                                   mac.extra);
  SystemValuesUtility::DarwinKernelParameterCalls calls(testing::FakeDarwinKernel::functions());
  SystemMachineFacts facts(calls);
  testing::CapturedDiagnostics diagnostics;

  const std::vector<std::string> processor =
      testing::runCheck(facts, &ValidationRunner::checkProcessor);
  const std::vector<std::string> memory = testing::runCheck(facts, &ValidationRunner::checkMemory);

  EXPECT_EQ(processor, mac.processor);
  EXPECT_EQ(memory, mac.memory);
  // The error numbers go to the diagnostic stream alone: the tables hold just the texts above.
  EXPECT_EQ(diagnostics.text(), mac.diagnostics);
}

INSTANTIATE_TEST_SUITE_P(Macs, RealMacsTest, ::testing::ValuesIn(kMacs),
                         [](const auto& testCase) { return testCase.param.name; });

}  // namespace
}  // namespace tarq
