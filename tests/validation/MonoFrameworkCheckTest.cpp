#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

constexpr std::string_view kRequirement =
    "The Mono Framework version 4 or later is required to be installed.";

TEST(MonoFrameworkCheckTest, JudgedOnTheMajorNumberAlone) {
  const std::string requirement(kRequirement);
  const struct {
    MonoVersionInfo mono;
    std::vector<std::string> lines;
    ResultRow row;
  } cases[] = {
      {{"", "Unable to find the Mono Framework", 0},
       {"Unable to find the Mono Framework", requirement},
       {"Mono Framework", "Fail", "Unable to find the Mono Framework"}},
      {{"", "Failed to parse the version on Mono Frameworks", 0},
       {"Failed to parse the version on Mono Frameworks", requirement},
       {"Mono Framework", "Fail", "Failed to parse the version on Mono Frameworks"}},
      {{"6.12.0.182", "", 6},
       {"Mono Framework Version: 6.12.0.182"},
       {"Mono Framework", "Pass", "Mono Framework Version: 6.12.0.182"}},
      {{"4.0.0", "", 4},  // the boundary is 4
       {"Mono Framework Version: 4.0.0"},
       {"Mono Framework", "Pass", "Mono Framework Version: 4.0.0"}},
      {{"3.99", "", 3},
       {"Mono Framework Version: 3.99, version 4 or later is required to be installed."},
       {"Mono Framework", "Fail", "Mono Framework Version: 3.99"}},
      {{"1.2", "", 1},
       {"Mono Framework Version: 1.2, version 4 or later is required to be installed."},
       {"Mono Framework", "Fail", "Mono Framework Version: 1.2"}},
      // A version read whose first number is 0 (or too large) goes the failure way with an
      // empty message.
      {{"0.5", "", 0}, {"", requirement}, {"Mono Framework", "Fail", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mono.version + c.mono.error);
    testing::FakeMachineFacts facts;
    facts.mono = c.mono;
    const auto report = testing::runCheck(facts, &ValidationRunner::checkMonoFramework);
    EXPECT_EQ(report.lines, c.lines);
    EXPECT_EQ(report.rows, std::vector<ResultRow>{c.row});
  }
}

}  // namespace
}  // namespace tarq
