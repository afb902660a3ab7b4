// What each check requires, and what it says a person can do when it does not pass.
#include <gtest/gtest.h>

#include <functional>

#include "validation/CheckGuidance.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using testing::FakeMachineFacts;

TEST(CheckGuidanceTest, EachCheckHasItsIdentifierNameAndRequirementInRunOrder) {
  std::vector<std::string> described;
  for (const CheckDescription& check : kChecksInRunOrder) {
    described.push_back(std::string(check.id) + ": " + std::string(check.testName) + ": " +
                        std::string(check.requirement));
  }
  EXPECT_EQ(described,
            (std::vector<std::string>{
                "os: Operating System: macOS 10.11.6 or later",
                "memory: RAM (Memory): 4 GB of memory",
                "processor: Processor: Two processors, 64-bit, faster than 2.4 GHz unless Intel",
                "disk: Primary Hard Drive: 5 GB free on the volume of the Documents folder",
                "usb: USB 2.0/3.0/3.1: USB 2.0 or later",
                "screen: Screen Resolution: A main screen of 1024 \u00d7 768 points or more",
                "browser: Supported Browsers: Google Chrome in /Applications",
                "mono: Mono Framework: Mono Framework 4 or later",
            }));
}

// A row that did not pass carries its remedy, with this machine's numbers where they help; a
// passing row carries none.
TEST(CheckGuidanceTest, EachRowThatDidNotPassSaysWhatToDo) {
  using Check = void (ValidationRunner::*)();
  const struct {
    const char* name;
    std::function<void(FakeMachineFacts&)> machine;
    Check check;
    std::string status, remedy;
  } cases[] = {
      {"os passes", [](auto&) {}, &ValidationRunner::checkOperatingSystem, "Pass", ""},
      {"os too old",
       [](auto& m) {
         m.os = {10, 10, 5, "10.10.5"};
       },
       &ValidationRunner::checkOperatingSystem, "Fail",
       "Update macOS to version 10.11.6 or later."},
      {"os not yet certified",
       [](auto& m) {
         m.os = {10, 99, 0, "10.99"};
       },
       &ValidationRunner::checkOperatingSystem, "Warn",
       "Ask the client application's support whether this version of macOS is supported."},
      {"memory passes", [](auto&) {}, &ValidationRunner::checkMemory, "Pass", ""},
      {"memory too small", [](auto& m) { m.memory = uint64_t{3} << 30; },
       &ValidationRunner::checkMemory, "Fail",
       "Install more memory: this computer has 3.0 GB, and 4 GB is needed."},
      {"memory unknown", [](auto& m) { m.memory.reset(); }, &ValidationRunner::checkMemory, "Warn",
       "Check in About This Mac that this computer has at least 4 GB of memory."},
      {"processor passes", [](auto&) {}, &ValidationRunner::checkProcessor, "Pass", ""},
      {"processor short of everything",
       [](auto& m) {
         m.processors = 1;
         m.capable64 = 0;
         m.frequency = 1800000000;
         m.brand = "AMD Athlon";
       },
       &ValidationRunner::checkProcessor, "Warn",
       "Use a computer with two or more processors. Use a computer with a 64-bit processor. Use "
       "a processor faster than 2.4 GHz."},
      {"processor unknown",
       [](auto& m) {
         m.processors.reset();
         m.capable64.reset();
       },
       &ValidationRunner::checkProcessor, "Warn",
       "Check in About This Mac that this computer has two or more processors. Check in About "
       "This Mac that the processor is 64-bit."},
      {"disk passes", [](auto&) {}, &ValidationRunner::checkDiskSpace, "Pass", ""},
      {"disk 1.4 GB short", [](auto& m) { m.freeBytes = int64_t{3700} << 20; },
       &ValidationRunner::checkDiskSpace, "Fail",
       "Free at least 1.4 GB more on the volume of your Documents folder."},
      {"disk unreadable", [](auto& m) { m.freeBytes = 0; }, &ValidationRunner::checkDiskSpace,
       "Fail", "Free at least 5.0 GB more on the volume of your Documents folder."},
      {"usb passes", [](auto&) {}, &ValidationRunner::checkUSBVersion, "Pass", ""},
      {"usb 1.1", [](auto& m) { m.usbVersion = 1.1; }, &ValidationRunner::checkUSBVersion, "Fail",
       "Use a computer with a USB 2.0 or later port."},
      {"usb undetermined", [](auto& m) { m.usbVersion = 0; }, &ValidationRunner::checkUSBVersion,
       "Warn", "Check in System Information that this computer has a USB 2.0 or later port."},
      {"screen passes", [](auto&) {}, &ValidationRunner::checkScreenResolution, "Pass", ""},
      {"screen too small",
       [](auto& m) {
         m.screen = {1024, 767};
       },
       &ValidationRunner::checkScreenResolution, "Fail",
       "Set the display to 1024 \u00d7 768 or higher."},
      {"browser passes", [](auto&) {}, &ValidationRunner::checkBrowser, "Pass", ""},
      {"browser missing", [](auto& m) { m.chrome = {}; }, &ValidationRunner::checkBrowser, "Fail",
       "Install Google Chrome in /Applications."},
      {"mono passes", [](auto&) {}, &ValidationRunner::checkMonoFramework, "Pass", ""},
      {"mono missing",
       [](auto& m) {
         m.mono = {"", "Unable to find the Mono Framework", 0};
       },
       &ValidationRunner::checkMonoFramework, "Fail", "Install Mono Framework 4 or later."},
      {"mono 3",
       [](auto& m) {
         m.mono = {"3.2.8", "", 3};
       },
       &ValidationRunner::checkMonoFramework, "Fail",
       "Update Mono Framework to version 4 or later."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachineFacts machine;
    c.machine(machine);
    testing::WiredRunner wired(machine);
    (wired.runner.*c.check)();
    ASSERT_EQ(wired.summary.results().size(), 1u);
    EXPECT_EQ(wired.summary.results()[0].result, c.status);
    EXPECT_EQ(wired.summary.remedies()[0], c.remedy);
  }
}

}  // namespace
}  // namespace tarq
