#include <gtest/gtest.h>

#include <vector>

#include "support/CapturedDiagnostics.h"
#include "support/FakeTool.h"
#include "support/Tables.h"
#include "system/probes/BrowserLocator.h"

namespace tarq::SystemValuesUtility {
namespace {

namespace svu = SystemValuesUtility;

// The real find on an applications tree: bundles whose executable answers "--version".
TEST(BrowserLocatorTest, FindsTheBundleInAnApplicationsTree) {
  struct TreeFile {
    std::string bundle, versionOutput;
    int exitStatus = 0;
  };
  const std::string stable = "Google Chrome 120.0.6099.129 \n";
  const struct {
    std::vector<TreeFile> files;
    std::string bundle;  // below the applications folder; empty for none
    std::string version;
  } cases[] = {
      {{{"Google Chrome.app", stable}}, "Google Chrome.app", stable},
      {{{"Web/Stable/google chrome.app", "1"}}, "Web/Stable/google chrome.app", "1"},
      // The search stops at the outer bundle, which it reaches first.
      {{{"Google Chrome.app", "outer"},
        {"Google Chrome.app/Contents/Helpers/Google Chrome.app", "inner"}},
       "Google Chrome.app",
       "outer"},
      {{{"Google Chrome.app", stable, 1}}, "Google Chrome.app", ""},
      {{{"Google Chrome.app", "Google Chrome \xFF\n"}}, "Google Chrome.app", ""},
      {{{"Google Chrome.app", std::string((1 << 20) + 1, 'x')}}, "Google Chrome.app", ""},
      {{}, "", ""},  // no applications folder at all
  };
  for (const auto& c : cases) {
    testing::TemporaryDirectory root;
    for (const TreeFile& file : c.files) {
      testing::writeFakeTool(root, "Applications/" + file.bundle + "/Contents/MacOS/Google Chrome",
                             "--version", file.versionOutput, file.exitStatus);
    }
    testing::CapturedDiagnostics diagnostics;
    const std::string applications = root.string() + "/Applications";
    const ChromeLocation expected{c.bundle.empty() ? "" : applications + "/" + c.bundle, c.version};
    EXPECT_EQ(svu::locateChrome(applications), expected) << c.files.size() << " " << c.bundle;
  }
}

TEST(BrowserLocatorTest, TheSearchOutputIsOnePathBelowTheRoot) {
  testing::expectEach<std::string_view, std::string_view>(
      [](std::string_view output) { return svu::chromeBundlePath(output, "/R"); },
      {{"/R/Google Chrome.app\n", "/R/Google Chrome.app"},
       {"/R/Apps/GOOGLE CHROME.APP", "/R/Apps/GOOGLE CHROME.APP"},
       {"/R/a\n/b\u2028/google chrome.app\n", "/R/a\n/b\u2028/google chrome.app"},
       // Only one final line feed is the search's own.
       {"/R/Google Chrome.app\n\n", ""},
       {"/R/Google Chrome.app\r\n", ""},
       // The bundle's name must be the path's last component, whole, below the root.
       {"/R/X/Google Chrome.app.old\n", ""},
       {"/R/Google Chrome.app/\n", ""},
       {"/R/Google Chrome Beta.app\n", ""},
       {"/Rx/Google Chrome.app\n", ""},
       {"Google Chrome.app\n/R/Google Chrome.app\n", ""},
       {"", ""}});
}

// The search's output is echoed when it succeeds; a path shorter than the shortest bundle path,
// "/Applications/Google Chrome.app" (31 characters), is not found.
TEST(BrowserLocatorTest, TheSearchOutputIsEchoedAndAShortResultNotFound) {
  const std::string r = "/usr";  // a folder there is, where no browser answers
  const std::string chrome = r + "/Browsers/Google Chrome.app";
  // 30 characters in 34 bytes, and 31.
  const std::string short30 = r + "/Ünïcödé/google chrome.app";
  const std::string long31 = r + "/Ünïcödéé/google chrome.app";
  const auto notStarted = [](const std::string& bundle) {
    return "tool run: " + bundle +
           "/Contents/MacOS/Google Chrome could not be started: No such file or directory\n";
  };
  const struct {
    std::string root, output;
    int exitStatus;
    std::string path, echo;
  } cases[] = {
      {r, chrome + "\n", 0, chrome, chrome + "\n\n" + notStarted(chrome)},
      {r, chrome + "\xFF\n", 0, "", "\n"},
      {r, chrome + "\n", 1, "", ""},
      // More than any path could be: the search is stopped and fails.
      {r, r + "/" + std::string(64 << 10, 'a') + "/Google Chrome.app\n", 0, "", ""},
      {r, short30 + "\n", 0, "", short30 + "\n\n"},
      {r, long31 + "\n", 0, long31, long31 + "\n\n" + notStarted(long31)},
      {"/NoApplications", "/NoApplications/Google Chrome.app\n", 0, "", ""},  // not searched
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output.substr(0, 80));
    testing::TemporaryDirectory directory;
    const std::string find = testing::writeFakeTool(
        directory, "find", c.root + " -iname google\\ chrome.app -print -quit", c.output,
        c.exitStatus);
    testing::CapturedDiagnostics diagnostics;
    EXPECT_EQ(svu::locateChrome(c.root, find), (ChromeLocation{c.path, ""}));
    EXPECT_EQ(diagnostics.text(), c.echo);
  }
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
