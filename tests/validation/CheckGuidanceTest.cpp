#include <gtest/gtest.h>

#include <functional>

#include "validation/CheckGuidance.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using testing::FakeMachineFacts;

struct Shortfall {
  const char* name;
  std::function<void(FakeMachineFacts&)> machine;
  std::string status, remedy;
};

// Each check in run order with its requirement and a remedy for each way it can fall short, with
// this machine's numbers where they help; on the well-equipped machine every row passes with none.
TEST(CheckGuidanceTest, EachCheckStatesItsRequirementAndWhatToDoWhenItDoesNotPass) {
  const struct {
    std::string described;  // "id: test name: requirement"
    std::vector<Shortfall> shortfalls;
  } checks[] = {
      {"os: Operating System: macOS 10.11.6 or later",
       {{"too old", [](auto& m) { m.os.minorVersion = 10; }, "Fail",
         "Update macOS to version 10.11.6 or later."},
        {"not yet certified", [](auto& m) { m.os.minorVersion = 99; }, "Warn",
         "Ask the client application's support whether this version of macOS is supported."}}},
      {"memory: RAM (Memory): 4 GB of memory",
       {{"too small", [](auto& m) { m.memory = uint64_t{3} << 30; }, "Fail",
         "Install more memory: this computer has 3.0 GB, and 4 GB is needed."},
        {"unknown", [](auto& m) { m.memory.reset(); }, "Warn",
         "Check in About This Mac that this computer has at least 4 GB of memory."}}},
      {"processor: Processor: Two processors, 64-bit, faster than 2.4 GHz unless Intel",
       {{"short of everything",
         [](auto& m) {
           m.processors = 1, m.capable64 = 0, m.frequency = 1800000000, m.brand = "AMD Athlon";
         },
         "Warn",
         "Use a computer with two or more processors. Use a computer with a 64-bit processor. "
         "Use a processor faster than 2.4 GHz."},
        {"unknown", [](auto& m) { m.processors.reset(), m.capable64.reset(); }, "Warn",
         "Check in About This Mac that this computer has two or more processors. Check in About "
         "This Mac that the processor is 64-bit."}}},
      {"disk: Primary Hard Drive: 5 GB free on the volume of the Documents folder",
       {{"1.4 GB short", [](auto& m) { m.freeBytes = int64_t{3700} << 20; }, "Fail",
         "Free at least 1.4 GB more on the volume of your Documents folder."},
        {"unreadable", [](auto& m) { m.freeBytes = 0; }, "Fail",
         "Free at least 5.0 GB more on the volume of your Documents folder."}}},
      {"usb: USB 2.0/3.0/3.1: USB 2.0 or later",
       {{"1.1", [](auto& m) { m.usbVersion = 1.1; }, "Fail",
         "Use a computer with a USB 2.0 or later port."},
        {"undetermined", [](auto& m) { m.usbVersion = 0; }, "Warn",
         "Check in System Information that this computer has a USB 2.0 or later port."}}},
      {"screen: Screen Resolution: A main screen of 1024 \u00d7 768 points or more",
       {{"too small", [](auto& m) { m.screen = ScreenSize(1024, 767); }, "Fail",
         "Set the display to 1024 \u00d7 768 or higher."}}},
      {"browser: Supported Browsers: Google Chrome in /Applications",
       {{"missing", [](auto& m) { m.chrome = {}; }, "Fail",
         "Install Google Chrome in /Applications."}}},
      {"mono: Mono Framework: Mono Framework 4 or later",
       {{"missing",
         [](auto& m) { m.mono = MonoVersionInfo("", "Unable to find the Mono Framework", 0); },
         "Fail", "Install Mono Framework 4 or later."},
        {"3", [](auto& m) { m.mono = MonoVersionInfo("3.2.8", "", 3); }, "Fail",
         "Update Mono Framework to version 4 or later."}}},
  };
  ASSERT_EQ(std::size(checks), kChecksInRunOrder.size());
  FakeMachineFacts wellEquipped;
  testing::WiredRunner whole(wellEquipped);
  whole.runner.runAllTests();
  for (std::size_t i = 0; i < std::size(checks); ++i) {
    const CheckDescription& check = kChecksInRunOrder[i];
    EXPECT_EQ(std::string(check.id) + ": " + std::string(check.testName) + ": " +
                  std::string(check.requirement),
              checks[i].described);
    EXPECT_EQ(whole.summary.results().at(i).result, "Pass") << check.id;
    EXPECT_EQ(whole.summary.remedies().at(i), "") << check.id;
    for (const Shortfall& shortfall : checks[i].shortfalls) {
      SCOPED_TRACE(std::string(check.id) + " " + shortfall.name);
      FakeMachineFacts machine;
      shortfall.machine(machine);
      testing::WiredRunner wired(machine);
      wired.runner.runAllTests();
      EXPECT_EQ(wired.summary.results().at(i).result, shortfall.status);
      EXPECT_EQ(wired.summary.remedies().at(i), shortfall.remedy);
    }
  }
}

}  // namespace
}  // namespace tarq
