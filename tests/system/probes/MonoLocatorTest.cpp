#include <gtest/gtest.h>

#include <limits>

#include "support/FakeTool.h"
#include "system/probes/BrowserLocator.h"
#include "system/probes/MonoLocator.h"
#include "system/probes/UsbProbe.h"

namespace tarq::SystemValuesUtility {
namespace {

namespace svu = SystemValuesUtility;

constexpr const char* kNoFramework = "Unable to find the Mono Framework";
constexpr const char* kNotStartable = "Unable to find the Mono Framework Version";
constexpr const char* kFailedRun = "Unable to return the Mono Framework Version";
constexpr const char* kNoBanner = "Failed to parse the version on Mono Frameworks";

TEST(MonoLocatorTest, VersionComesFromTheFirstBannerMatch) {
  const std::string whitespace(4 << 20, ' ');
  // "1.1.1...1" with `parts` full stops.
  const auto ones = [](int parts) {
    std::string version = "1";
    for (int part = 0; part < parts; ++part) {
      version += ".1";
    }
    return version;
  };
  const std::string thousandParts = ones(1'000);
  const struct {
    std::string banner;
    MonoVersionInfo info;
  } cases[] = {
      {testing::readFile("tool-output/mono-6.12.0.182-version.txt"), {"6.12.0.182", "", 6}},
      {"MONO JIT COMPILER VERSION\n\t 5.4.1.6\n", {"5.4.1.6", "", 5}},
      {"Mono JIT compiler version 4.x\nMono JIT compiler version 6.1\n", {"6.1", "", 6}},
      {"Mono JIT compiler version 0.9\n", {"0.9", "", 0}},
      {"Mono JIT compiler version 9223372036854775807.1\n",
       {"9223372036854775807.1", "", std::numeric_limits<int64_t>::max()}},
      {"Mono JIT compiler version 9223372036854775808.1\n", {"9223372036854775808.1", "", 0}},
      {"Mono JIT compiler version" + whitespace + "6.12.0\n", {"6.12.0", "", 6}},
      {"Mono JIT compiler version" + whitespace + "6 .\n", {"", kNoBanner, 0}},
      {"Mono JIT compiler version 6\n", {"", kNoBanner, 0}},
      // A version too long to be real is given up on, not a long one.
      {"Mono JIT compiler version " + ones(1'000'000), {"", kNoBanner, 0}},
      {"Mono JIT compiler version " + thousandParts + "\n", {thousandParts, "", 1}},
      // Spaces and digits are Unicode's (TextParsingTest), but only ASCII digits give a major.
      {"Mono JIT compiler version \u0666.\u0661\n", {"\u0666.\u0661", "", 0}},
      {"Mono 6.12.0.182\n", {"", kNoBanner, 0}},
      {"", {"", kNoBanner, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(svu::monoVersionFromBanner(c.banner), c.info) << c.banner.substr(0, 60);
  }
}

TEST(MonoLocatorTest, CandidatesAreTriedUntilOneRuns) {
  using testing::ToolForm;
  struct Candidate {  // a script prints `output` and exits with `status`
    std::string output;
    int status = 0;
    ToolForm form = ToolForm::script;
  };
  const std::string banner = testing::readFile("tool-output/mono-6.12.0.182-version.txt");
  const Candidate absent{"", 0, ToolForm::missing}, ok{banner};
  const struct {
    Candidate candidates[3];
    MonoVersionInfo info;
  } cases[] = {
      {{absent, absent, absent}, {"", kNoFramework, 0}},
      {{ok, absent, absent}, {"6.12.0.182", "", 6}},
      {{absent, {"Mono JIT compiler version 5.18.1.0\n"}, ok}, {"5.18.1.0", "", 5}},
      {{{"Mono\n"}, ok, ok}, {"", kNoBanner, 0}},  // the first that runs settles it
      {{{"Mono JIT compiler version 6.12.0.182 \xFF\n"}, ok, ok}, {"", kNoBanner, 0}},
      {{{banner, 1}, absent, absent}, {"", kNoFramework, 0}},  // the last one's failure
      {{absent, absent, {"", 0, ToolForm::notExecutable}}, {"", kNotStartable, 0}},
      {{absent, {banner, 1}, {banner, 2}}, {"", kFailedRun, 0}},
      {{absent, absent, {"", 0, ToolForm::folder}}, {"", kNotStartable, 0}},  // there, not runnable
      {{absent, absent, {"", 0, ToolForm::danglingLink}}, {"", kNoFramework, 0}},
      // A runtime printing more than its banner could ever be is not believed.
      {{absent, absent, {banner + std::string(1 << 20, 'x')}}, {"", kFailedRun, 0}},
  };
  for (const auto& c : cases) {
    testing::TemporaryDirectory directory;
    std::vector<std::string> paths;
    for (const Candidate& candidate : c.candidates) {
      const std::string name = "bin/mono" + std::to_string(paths.size());
      paths.push_back(candidate.form == ToolForm::script
                          ? testing::writeFakeTool(directory, name, "--version", candidate.output,
                                                   candidate.status)
                          : testing::writeTool(directory, name, candidate.form));
    }
    EXPECT_EQ(svu::monoVersion(paths), c.info) << c.info.error << c.info.version;
  }
}

// A slip in the product's paths and bounds would pass every test that gives its own; a tool
// that never answers is stopped at each probe's bound.
TEST(ProbeConstantsTest, ToolsAndTheirBoundsAreTheProductsAndEachProbeKeepsItsBound) {
  const std::string mono = "/Library/Frameworks/Mono.framework/Versions/Current/bin/mono";
  EXPECT_EQ(svu::kApplicationsFolder, std::string("/Applications"));
  EXPECT_EQ(svu::kFindExecutable, std::string("/usr/bin/find"));
  EXPECT_EQ(svu::kMonoExecutable, mono);
  EXPECT_EQ(svu::kMono64Executable, mono + "64");
  EXPECT_EQ(svu::kMono32Executable, mono + "32");
  EXPECT_EQ(svu::kUsbDataType, "SPUSBDataType");
  EXPECT_EQ(svu::kUsbHostDataType, "SPUSBHostDataType");
  EXPECT_EQ(svu::kGuardedRunSleeps, 30);
  EXPECT_EQ(svu::kMonoRunLimits.maximumSleeps, 30);
  EXPECT_EQ(svu::kChromeVersionLimits.maximumSleeps, 30);
  EXPECT_EQ(svu::kChromeSearchLimits.maximumSleeps, 300);
  EXPECT_EQ(svu::kSystemProfilerLimits.maximumSleeps, 60);
  EXPECT_EQ(svu::ToolRunLimits{}.sleepLength, std::chrono::seconds(1));
  testing::TemporaryDirectory root;
  const std::string hanging = testing::writeScript(
      root, "Google Chrome.app/Contents/MacOS/Google Chrome", "exec sleep 60\n");
  const svu::ToolRunLimits oneShortSleep{.maximumSleeps = 1,
                                         .sleepLength = std::chrono::milliseconds(200)};
  EXPECT_EQ(svu::chromeVersion(root.string() + "/Google Chrome.app", oneShortSleep), "");
  EXPECT_EQ(svu::monoVersion({hanging}, oneShortSleep), (MonoVersionInfo{"", kFailedRun, 0}));
  EXPECT_EQ(svu::highestUSBVersion(hanging, oneShortSleep), 0.0);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
