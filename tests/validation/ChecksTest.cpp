// Each check on plain values, its exact lines and row; the pass that runs them all into its tables.
#include <gtest/gtest.h>

#include <functional>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using testing::expectCheck;
using F = testing::FakeMachineFacts;

constexpr uint64_t GiB = uint64_t{1} << 30;
constexpr uint64_t MiB = uint64_t{1} << 20;

// Each 10.x release by name, certified from 10.11.6 on; one without a name (empty `release`) has
// its own line, shown in its row too, but from 11 on the row shows the version text alone.
TEST(OperatingSystemCheckTest, ReportsEachVersionRangeWithTheVersionTextVerbatim) {
  const std::string v = " Version X (Build Y)\n";
  const std::string certified = "is a certified version for the application";
  const std::string notCertified =
      "is not a certified version for the application. The minimum requirement is Mac OS X El "
      "Capitan 10.11.6";
  const std::string older = "This version of the Mac OS. " + v +
                            " is older than the minimum requirement Mac OS X El Capitan 10.11.6";
  const std::string unverified =
      "This application was last certified with a prior version of the Mac OS. " + v +
      " hasn't been verified, so its support is indeterminate";
  struct Case {
    int64_t major, minor, patch;
    std::string status, release, line = {};
  };
  std::vector<Case> cases = {
      {10, 11, 5, "Fail", "El Capitan"},
      {10, 11, 6, "Pass", "El Capitan"},
      {10, 16, 0, "Warn", "", unverified},
      {11, 0, 0, "Pass", "", "Operating System:" + v},
      {26, 1, 0, "Pass", "", "Operating System:" + v},
      {9, 99, 99, "Fail", "", older},
      {0, 0, 0, "Fail", "", older},  // Linux
      {-1, 0, 0, "Fail", "", older},
      // A negative minor number names no release: it cannot be newer than the minimum.
      {10, -1, 0, "Fail", "", older},
  };
  const char* const releases[] = {"Cheetah",       "Puma",        "Jaguar",       "Panther",
                                  "Tiger",         "Leopard",     "Snow Leopard", "Lion",
                                  "Mountain Lion", "Mavericks",   "Yosemite",     "El Capitan",
                                  "Sierra",        "High Sierra", "Mojave",       "Catalina"};
  for (int64_t minor = 0; minor < 16; ++minor) {
    cases.push_back({10, minor, 9, minor < 11 ? "Fail" : "Pass", releases[minor]});
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.major << "." << c.minor << "." << c.patch);
    F facts;
    facts.os = {c.major, c.minor, c.patch, v};
    const std::string named = "Mac OS X " + c.release;
    const std::string line = !c.line.empty() ? c.line
                                             : "Operating System " + named + " (" + v + " ) " +
                                                   (c.status == "Pass" ? certified : notCertified);
    expectCheck(facts, &ValidationRunner::checkOperatingSystem, {line}, "Operating System",
                c.status, c.release.empty() ? (c.major >= 11 ? v : line) : named);
  }
}

TEST(MemoryCheckTest, PassesFromFourGigabytesOnJudgedOnTheExactSize) {
  const struct {
    std::optional<uint64_t> bytes;
    std::string status, size;
  } cases[] = {
      {4 * GiB - 1, "Fail", "4.0 GigaBytes"},  // rounds to 4.0, still too little
      {4 * GiB, "Pass", "4.0 GigaBytes"},     {24 * GiB + 256 * MiB, "Pass", "24.2 GigaBytes"},
      {GiB, "Fail", "1.0 GigaBytes"},  // exactly one gigabyte is not shown in megabytes
      {GiB - 1, "Fail", "1024.0 MegaBytes"},  {512 * MiB, "Fail", "512.0 MegaBytes"},
      {0, "Fail", "0.0 MegaBytes"},           {UINT64_MAX, "Pass", "17179869184.0 GigaBytes"},
      {std::nullopt, "Warn", "unknown"},  // not read: the requirement could not be verified
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    F facts;
    facts.memory = c.bytes;
    const std::string need = "Application requires a minimum of 4 GigaBytes of RAM.  ";
    expectCheck(facts, &ValidationRunner::checkMemory,
                {(c.status == "Fail" ? need : "") + "Memory Size:" + c.size}, "RAM (Memory)",
                c.status, c.size);
  }
}

// One fact changed, and the line it shows in (kRow: the row); a warning adds a closing line.
TEST(ProcessorCheckTest, EachFactHasItsLineAndThreshold) {
  constexpr size_t kRow = 6;
  const struct {
    std::function<void(F&)> change;
    size_t index;
    std::string line;
    std::string_view status;
  } cases[] = {
      {[](F& f) { f.processors = 2; }, 0, "Processors count : 2", "Pass"},
      {[](F& f) { f.processors = 1; }, 0,
       "Warning Processors count : 1 ideally should be 2 or more", "Warn"},
      {[](F& f) { f.processors = -1; }, 0,
       "Warning Processors count : -1 ideally should be 2 or more", "Warn"},
      {[](F& f) { f.processors = std::nullopt; }, 0,
       "Warning Processors count : unknown ideally should be 2 or more", "Warn"},
      // Cache sizes never change the status; megabytes are truncated, the sum taken in 64 bits.
      // An unknown L3 or frequency (Apple silicon) adds nothing and warns not: RealMacsTest.
      {[](F& f) { f.l2 = f.l3 = UINT32_MAX; }, 1,
       "Total Cache 8191MB L2 Cache Size: 4294967295 L3 Cache Size: 4294967295", "Pass"},
      {[](F& f) { f.l2 = f.l3 = std::nullopt; }, 1,
       "Total Cache unknown L2 Cache Size: unknown L3 Cache Size: unknown", "Pass"},
      {[](F& f) { f.capable64 = 0; }, 2, "Warning cpu is NOT 64 bit capable", "Warn"},
      {[](F& f) { f.capable64 = 2; }, 2, "Warning cpu is NOT 64 bit capable", "Warn"},
      {[](F& f) { f.capable64 = std::nullopt; }, 2, "Warning cpu 64 bit capability is unknown",
       "Warn"},
      // Speed warns at or below 2.4 GHz, unless the brand names Intel in any case.
      {[](F& f) { f.frequency = 2400000000, f.brand = "AMD Ryzen 5"; }, 3,
       "Warning Processor Speed: 2.4GHz less than desired speed > 2.4 GHz", "Warn"},
      {[](F& f) { f.frequency = 2400000001, f.brand = "AMD Ryzen 5"; }, 3,
       "Processor Speed: 2.400000001GHz", "Pass"},
      {[](F& f) { f.frequency = 800000000, f.brand = "genuine iNtEl"; }, 3,
       "Processor Speed: 0.8GHz", "Pass"},
      {[](F& f) { f.frequency = 0, f.brand = "AMD EPYC"; }, 3,
       "Warning Processor Speed: 0.0GHz less than desired speed > 2.4 GHz", "Warn"},
      {[](F& f) { f.machineType = std::nullopt; }, 4, "Processor Type: unknown", "Pass"},
      {[](F& f) { f.brand = "  Apple M1 Pro"; }, 5, "Processor Name:   Apple M1 Pro", "Pass"},
      {[](F& f) { f.brand = std::nullopt; }, 5, "Processor Name: unknown", "Pass"},
      {[](F& f) { f.brand = "  Apple M1 Pro", f.machineType = "arm64"; }, kRow,
       "Processor|Pass|  Apple M1 Pro, arm64", "Pass"},
      {[](F& f) { f.brand = f.machineType = std::nullopt; }, kRow,
       "Processor|Pass|unknown, unknown", "Pass"},
      // Three warnings, one closing line.
      {[](F& f) { f.processors = 1, f.capable64 = 0, f.frequency = 1, f.brand = "AMD"; }, 2,
       "Warning cpu is NOT 64 bit capable", "Warn"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    F facts;
    c.change(facts);
    const auto log = testing::runCheck(facts, &ValidationRunner::checkProcessor);
    const bool warns = c.status == "Warn";
    ASSERT_EQ(log.size(), warns ? 8u : 7u);
    EXPECT_EQ(log.at(c.index), c.line);
    EXPECT_TRUE(log.at(kRow).starts_with("Processor|" + std::string(c.status) + "|")) << log[kRow];
    if (warns) {
      EXPECT_EQ(log.back(),
                "The above warnings may cause the application to perform below expectations.");
    }
  }
}

TEST(DiskSpaceCheckTest, NeedsFiveGigabytesFreeJudgedOnTheExactCount) {
  const int64_t gib = GiB;
  const struct {
    int64_t totalBytes, freeBytes;
    std::string status, sizes;
  } cases[] = {
      {500 * gib, 5 * gib, "Pass", "Total Disk Space: 500GB Total Free Space: 5GB"},
      {500 * gib, 5 * gib - 1, "Fail", "Total Disk Space: 500GB Total Free Space: 4GB"},
      {0, 0, "Fail", "Total Disk Space: 0GB Total Free Space: 0GB"},  // unreadable volume
      {INT64_MAX, INT64_MAX, "Pass",
       "Total Disk Space: 8589934591GB Total Free Space: 8589934591GB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sizes);
    F facts;
    facts.totalBytes = c.totalBytes;
    facts.freeBytes = c.freeBytes;
    const std::string noRoom = "Application cannot be installed without 5 GB of free disk space.";
    expectCheck(facts, &ValidationRunner::checkDiskSpace,
                c.status == "Fail" ? std::vector{c.sizes, noRoom} : std::vector{c.sizes},
                "Primary Hard Drive", c.status, c.sizes);
  }
}

TEST(UsbVersionCheckTest, PassesFromUsbTwoOnAndWarnsWhenUndetermined) {
  const struct {
    double version;
    std::string status, shown;
  } cases[] = {
      {2.0, "Pass", "2.0"},  // the bound is inclusive
      {1.9999999999999998, "Fail", "1.9999999999999998"},
      {30.0, "Pass", "30.0"},
      {0.0, "Warn", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    F facts;
    facts.usbVersion = c.version;
    const std::string line = c.status == "Warn"
                                 ? "Unable to determine USB versions available on device"
                                 : "Highest Available USB Version: " + c.shown;
    expectCheck(facts, &ValidationRunner::checkUSBVersion, {line}, "USB 2.0/3.0/3.1", c.status,
                line);
  }
}

TEST(ScreenResolutionCheckTest, PassesFrom1024By768OnBothSidesRequired) {
  const struct {
    ScreenSize screen;
    std::string status, dimension;
  } cases[] = {
      {{1024, 768}, "Pass", "Screen Dimension 1024 X 768. "},
      {{1023, 768}, "Fail", "Screen Dimension 1023 X 768. "},
      {{1024, 767}, "Fail", "Screen Dimension 1024 X 767. "},
      {{-1920, 1080}, "Fail", "Screen Dimension -1920 X 1080. "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dimension);
    F facts;
    facts.screen = c.screen;
    const std::string scrollBars =
        "Application will not display without scroll bars if resolution is not set to 1024x768 or "
        "higher";
    expectCheck(facts, &ValidationRunner::checkScreenResolution,
                {c.status == "Pass" ? c.dimension : scrollBars}, "Screen Resolution", c.status,
                c.dimension);
  }
}

// Any version passes, shown with its line end and a blank; a bundle that told none is not found.
TEST(BrowserCheckTest, FoundOnlyWhenTheExecutableToldItsVersion) {
  const std::string notFound = "Unable to find Google Chrome";
  const struct {
    std::string path, version, status;
  } cases[] = {
      {"", "", "Fail"},
      {"/Applications/Google Chrome.app", "", "Fail"},
      {"/Applications/Google Chrome.app", "Google Chrome 120.0.6099.129 \n", "Pass"},
      {"/Applications/Browsers/Google Chrome.app", "1", "Pass"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path + c.version);
    F facts;
    facts.chrome = {c.path, c.version};
    const bool found = c.status == "Pass";
    expectCheck(facts, &ValidationRunner::checkBrowser,
                found ? std::vector<std::string>{"Google Chrome File Location: " + c.path,
                                                 "Google Chrome Version: " + c.version + " "}
                      : std::vector<std::string>{"Application requires Google Chrome. " + notFound},
                "Supported Browsers", c.status, found ? c.version : notFound);
  }
}

TEST(MonoFrameworkCheckTest, JudgedOnTheMajorNumberAlone) {
  const std::string required = "The Mono Framework version 4 or later is required to be installed.";
  const std::string noFramework = "Unable to find the Mono Framework";
  const struct {
    MonoVersionInfo mono;
    std::vector<std::string> lines;
    std::string status, detected;  // a pass whose detected is empty: the line
  } cases[] = {
      {{"", noFramework, 0}, {noFramework, required}, "Fail", noFramework},
      {{"6.12.0.182", "", 6}, {"Mono Framework Version: 6.12.0.182"}, "Pass", ""},
      {{"4.0.0", "", 4}, {"Mono Framework Version: 4.0.0"}, "Pass", ""},  // the boundary is 4
      {{"3.99", "", 3},
       {"Mono Framework Version: 3.99, version 4 or later is required to be installed."},
       "Fail",
       "Mono Framework Version: 3.99"},
      // A version whose first number is 0 (or too large) goes the failure way, its error empty.
      {{"0.5", "", 0}, {"", required}, "Fail", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mono.version + c.mono.error);
    F facts;
    facts.mono = c.mono;
    expectCheck(facts, &ValidationRunner::checkMonoFramework, c.lines, "Mono Framework", c.status,
                c.detected.empty() && c.status == "Pass" ? c.lines[0] : c.detected);
  }
}

// The second of two passes: both tables emptied, then each check's own reports in run order.
TEST(ValidationRunnerTest, EachPassEmptiesBothTablesThenReportsInOrder) {
  testing::FakeMachineFacts facts;
  std::vector<std::string> log;
  testing::RecordingRunner wired(facts, log);
  wired.runner.runAllTests();
  facts.processors = 1;  // the processor check warns and adds its closing line after its row
  facts.freeBytes = 0;   // the disk check fails and adds its second line
  log.clear();
  wired.runner.runAllTests();

  std::vector<std::string> expected{"lines emptied", "rows emptied"};
  for (const auto check :
       {&ValidationRunner::checkOperatingSystem, &ValidationRunner::checkMemory,
        &ValidationRunner::checkProcessor, &ValidationRunner::checkDiskSpace,
        &ValidationRunner::checkUSBVersion, &ValidationRunner::checkScreenResolution,
        &ValidationRunner::checkBrowser, &ValidationRunner::checkMonoFramework}) {
    const std::vector<std::string> own = testing::runCheck(facts, check);
    expected.insert(expected.end(), own.begin(), own.end());
  }
  EXPECT_EQ(log, expected);
}

// A table not attached keeps what it had; every check still runs, as the other table shows.
TEST(ValidationRunnerTest, UnattachedTablesAreLeftAlone) {
  for (const bool attachLines : {false, true}) {
    SCOPED_TRACE(attachLines);
    testing::FakeMachineFacts facts;
    ValidationRunner runner(facts);
    ResultTextTable lines;
    lines.appendLine("from before");
    TestSummaryTable summary;
    summary.addResult("Earlier", "Pass", "kept");
    runner.setTestResultsVC(attachLines ? &lines : nullptr);
    runner.setTestNameVC(attachLines ? nullptr : &summary);

    runner.runAllTests();

    EXPECT_EQ(lines.resStrings().size(), attachLines ? 14u : 1u);
    EXPECT_EQ(summary.results().size(), attachLines ? 1u : 8u);
  }
}

}  // namespace
}  // namespace tarq
