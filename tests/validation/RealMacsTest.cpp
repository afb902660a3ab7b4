// The memory and processor checks on six real Macs: their published `sysctl` outputs answered
// through the macOS kernel-parameter service (the code a Mac runs, down to the sysctl calls).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/CapturedDiagnostics.h"
#include "support/FakeDarwinKernel.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

struct RealMac {
  std::string name;
  std::string output;                        // under tests/data/sysctl
  std::map<std::string, std::string> extra;  // what the Mac has but `sysctl hw` does not print
  std::vector<std::string> processor, memory;
  std::string diagnostics;  // the errno of each failed size query
};

// An Apple silicon Mac passes both; its L3 cache and frequency are unknown (ENOENT). Not every
// output names the brand; where one does, it is the same.
RealMac appleSilicon(std::string name, std::string output, const std::string& count,
                     const std::string& brand, const std::string& size) {
  return {std::move(name),
          std::move(output),
          {{"hw.machine", "arm64"}, {"machdep.cpu.brand_string", brand}},
          {"Processors count : " + count,
           "Total Cache 4MB L2 Cache Size: 4194304 L3 Cache Size: unknown", "cpu is 64 bit capable",
           "Processor Speed: unknown", "Processor Type: arm64", "Processor Name: " + brand,
           "Processor|Pass|" + brand + ", arm64"},
          {"Memory Size:" + size, "RAM (Memory)|Pass|" + size},
          "2\n2\n"};
}

TEST(RealMacsTest, MemoryAndProcessorChecks) {
  const RealMac macs[] = {
      appleSilicon("M1MacBookAir", "sysctl-hw-m1-macbookair-J313.txt", "8", "Apple M1",
                   "16.0 GigaBytes"),
      appleSilicon("M2MacBookAir", "sysctl-hw-m2-macbookair-J413.txt", "8", "Apple M2",
                   "24.0 GigaBytes"),
      appleSilicon("M3MaxMacBookPro", "sysctl-hw-m3max-macbookpro16-J516c.txt", "16",
                   "Apple M3 Max", "128.0 GigaBytes"),
      appleSilicon("M4ProMacMini", "sysctl-hw-m4pro-macmini-J773s.txt", "14", "Apple M4 Pro",
                   "64.0 GigaBytes"),
      appleSilicon("M1ProMacBookProOnSonoma",
                   "sysctl-hw-machdep-kern-m1pro-macbookpro18-1-macos14.4.1.txt", "10",
                   "Apple M1 Pro", "32.0 GigaBytes"),
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
  for (const RealMac& mac : macs) {
    SCOPED_TRACE(mac.name);
    testing::FakeDarwinKernel kernel(std::string(TARQ_TEST_DATA_DIR) + "/sysctl/" + mac.output,
                                     mac.extra);
    SystemValuesUtility::DarwinKernelParameterCalls calls(testing::FakeDarwinKernel::functions());
    SystemMachineFacts facts(calls);
    testing::CapturedDiagnostics diagnostics;
    EXPECT_EQ(testing::runCheck(facts, &ValidationRunner::checkProcessor), mac.processor);
    EXPECT_EQ(testing::runCheck(facts, &ValidationRunner::checkMemory), mac.memory);
    // The error numbers go to the diagnostic stream alone, not into the texts above.
    EXPECT_EQ(diagnostics.text(), mac.diagnostics);
  }
}

}  // namespace
}  // namespace tarq
