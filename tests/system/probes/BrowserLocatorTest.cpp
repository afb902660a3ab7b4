#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/CapturedDiagnostics.h"
#include "support/FakeTool.h"
#include "system/probes/BrowserLocator.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;

constexpr std::string_view kFindArguments = "-iname google\\ chrome.app -print -quit";
constexpr std::string_view kExecutable = "/Contents/MacOS/Google Chrome";

// One bundle of an applications tree: its executable answers "--version" when it has an output;
// otherwise the bundle has no executable, only its Info.plist.
struct TreeFile {
  std::string bundle;
  std::optional<std::string> versionOutput;
  int exitStatus = 0;
};

TEST(BrowserLocatorTest, FindsTheBundleInAnApplicationsTree) {
  const std::string stable = "Google Chrome 120.0.6099.129 \n";
  const struct {
    std::vector<TreeFile> files;
    std::string bundle;  // below the applications folder; empty for none
    std::string version;
  } cases[] = {
      {{{"Google Chrome.app", stable}}, "Google Chrome.app", stable},
      {{{"GOOGLE CHROME.APP", stable}}, "GOOGLE CHROME.APP", stable},
      {{{"Web/Stable/google chrome.app", "1"}}, "Web/Stable/google chrome.app", "1"},
      // The search stops at the outer bundle, which it reaches first.
      {{{"Google Chrome.app", "outer"},
        {"Google Chrome.app/Contents/Helpers/Google Chrome.app", "inner"}},
       "Google Chrome.app",
       "outer"},
      {{{"Google Chrome Beta.app", stable}}, "", ""},
      {{{"Google Chrome.app", std::nullopt}}, "Google Chrome.app", ""},
      {{{"Google Chrome.app", stable, 1}}, "Google Chrome.app", ""},
      {{{"Google Chrome.app", "Google Chrome \xFF\n"}}, "Google Chrome.app", ""},
      // The line after the folder name's line end is no path below the folder; it is not run.
      {{{"Old\nBrowsers kept for the record/Google Chrome.app", stable}}, "", ""},
      {{}, "", ""},  // no applications folder at all
  };
  for (const auto& c : cases) {
    testing::TemporaryDirectory root;
    for (const TreeFile& file : c.files) {
      const std::string bundle = "Applications/" + file.bundle;
      if (file.versionOutput) {
        testing::writeFakeTool(root, bundle + std::string(kExecutable), "--version",
                               *file.versionOutput, file.exitStatus);
      } else {
        root.write(bundle + "/Contents/Info.plist", "");
      }
    }
    testing::CapturedDiagnostics diagnostics;
    const std::string applications = root.string() + "/Applications";
    const ChromeLocation expected{c.bundle.empty() ? "" : applications + "/" + c.bundle, c.version};
    EXPECT_EQ(svu::locateChrome(applications), expected) << c.files.size() << " " << c.bundle;
  }
}

TEST(BrowserLocatorTest, TakesTheFirstSearchLineNamingTheBundle) {
  const struct {
    std::string output;
    int exitStatus;
    std::string line;
    std::string echo;
  } cases[] = {
      {"/R/Google Chrome.app\n", 0, "/R/Google Chrome.app", "/R/Google Chrome.app\n\n"},
      {"/R/Apps\r\n/R/Apps/GOOGLE CHROME.APP\r\n", 0, "/R/Apps/GOOGLE CHROME.APP",
       "/R/Apps\r\n/R/Apps/GOOGLE CHROME.APP\r\n\n"},
      {"/R/a\xE2\x80\xA8/R/google chrome.app\xC2\x85", 0, "/R/google chrome.app",
       "/R/a\xE2\x80\xA8/R/google chrome.app\xC2\x85\n"},
      {"/R/Google Chrome Beta.app\n", 0, "", "/R/Google Chrome Beta.app\n\n"},
      {"/R/Google Chrome.app\xFF\n", 0, "", "\n"},
      {"", 0, "", "\n"},
      {"/R/Google Chrome.app\n", 1, "", ""},
  };
  for (const auto& c : cases) {
    testing::TemporaryDirectory directory;
    const std::string find = testing::writeFakeTool(
        directory, "find", "/R " + std::string(kFindArguments), c.output, c.exitStatus);
    testing::CapturedDiagnostics diagnostics;
    EXPECT_EQ(svu::findChrome("/R", find), c.line) << c.output;
    EXPECT_EQ(diagnostics.text(), c.echo) << c.output;
  }
}

TEST(BrowserLocatorTest, ShorterResultsThanTheShortestBundlePathAreNotFound) {
  const struct {
    std::string root;
    std::string found;  // also the expected path, or nothing
    bool counts;
  } cases[] = {
      {"/A", "/A/google chrome.app", false},
      {"/Äpps", "/Äpps/Ünïcöd/google chrome.app", false},  // 30 characters in 34 bytes
      {"/Äpps", "/Äpps/Ünïcödé/google chrome.app", true},  // 31 characters
  };
  for (const auto& c : cases) {
    testing::TemporaryDirectory directory;
    const std::string find = testing::writeFakeTool(
        directory, "find", c.root + " " + std::string(kFindArguments), c.found + "\n");
    testing::CapturedDiagnostics diagnostics;
    // No browser answers at these paths, so a counted result has an empty version.
    EXPECT_EQ(svu::locateChrome(c.root, find), (ChromeLocation{c.counts ? c.found : "", ""}))
        << c.found;
  }
}

// Relies on the guarded runner stopping a tool at its bound.
TEST(BrowserLocatorTest, ABrowserThatHangsGivesNoVersion) {
  testing::TemporaryDirectory root;
  testing::writeScript(root, "Google Chrome.app" + std::string(kExecutable), "exec sleep 60\n");
  EXPECT_EQ(svu::chromeVersion(root.string() + "/Google Chrome.app", 1), "");
}

}  // namespace
}  // namespace tarq
