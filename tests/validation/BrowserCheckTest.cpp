#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

TEST(BrowserCheckTest, FoundOnlyWhenTheExecutableToldItsVersion) {
  const struct {
    std::string_view name;
    ChromeLocation chrome;
    std::vector<std::string> lines;
    ResultRow row;
  } cases[] = {
      {"not installed",
       {"", ""},
       {"Application requires Google Chrome. Unable to find Google Chrome"},
       {"Supported Browsers", "Fail", "Unable to find Google Chrome"}},
      {"bundle without a working executable: its path is not shown",
       {"/Applications/Google Chrome.app", ""},
       {"Application requires Google Chrome. Unable to find Google Chrome"},
       {"Supported Browsers", "Fail", "Unable to find Google Chrome"}},
      {"version with its line end, kept, and a blank after it",
       {"/Applications/Google Chrome.app", "Google Chrome 120.0.6099.129 \n"},
       {"Google Chrome File Location: /Applications/Google Chrome.app",
        "Google Chrome Version: Google Chrome 120.0.6099.129 \n "},
       {"Supported Browsers", "Pass", "Google Chrome 120.0.6099.129 \n"}},
      {"in a subfolder, any version passes",
       {"/Applications/Browsers/Google Chrome.app", "1"},
       {"Google Chrome File Location: /Applications/Browsers/Google Chrome.app",
        "Google Chrome Version: 1 "},
       {"Supported Browsers", "Pass", "1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakeMachineFacts facts;
    facts.chrome = c.chrome;
    const auto report = testing::runCheck(facts, &ValidationRunner::checkBrowser);
    EXPECT_EQ(report.lines, c.lines);
    EXPECT_EQ(report.rows, std::vector<ResultRow>{c.row});
  }
}

}  // namespace
}  // namespace tarq
