#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

constexpr std::string_view kScrollBarsLine =
    "Application will not display without scroll bars if resolution is not set to 1024x768 or "
    "higher";

TEST(ScreenResolutionCheckTest, PassesFrom1024By768OnBothSidesRequired) {
  const struct {
    ScreenSize screen;
    bool passes;
    std::string_view dimension;
  } cases[] = {
      {{1920, 1080}, true, "Screen Dimension 1920 X 1080. "},
      {{1024, 768}, true, "Screen Dimension 1024 X 768. "},
      {{1023, 768}, false, "Screen Dimension 1023 X 768. "},
      {{1024, 767}, false, "Screen Dimension 1024 X 767. "},
      {{1280, 720}, false, "Screen Dimension 1280 X 720. "},
      {{800, 1200}, false, "Screen Dimension 800 X 1200. "},
      {{0, 0}, false, "Screen Dimension 0 X 0. "},  // no main screen
      {{-1920, 1080}, false, "Screen Dimension -1920 X 1080. "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dimension);
    testing::FakeMachineFacts facts;
    facts.screen = c.screen;
    const auto report = testing::runCheck(facts, &ValidationRunner::checkScreenResolution);
    const std::string dimension(c.dimension);
    EXPECT_EQ(report.lines,
              std::vector<std::string>{c.passes ? dimension : std::string(kScrollBarsLine)});
    EXPECT_EQ(
        report.rows,
        (std::vector<ResultRow>{{"Screen Resolution", c.passes ? "Pass" : "Fail", dimension}}));
  }
}

}  // namespace
}  // namespace tarq
