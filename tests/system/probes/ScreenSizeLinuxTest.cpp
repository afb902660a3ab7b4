#include <gtest/gtest.h>

#include "support/VirtualDisplay.h"
#include "system/probes/ScreenSize.h"

namespace tarq {
namespace {

TEST(ScreenSizeLinuxTest, MainScreenIsTheSizeOfTheXScreen) {
  const testing::VirtualDisplay display(1920, 1080);

  EXPECT_EQ(SystemValuesUtility::mainScreenSize(display.name().c_str()), (ScreenSize{1920, 1080}));
}

TEST(ScreenSizeLinuxTest, NoScreenWhereNoDisplayCanBeOpened) {
  // Display numbers this high are never served here.
  EXPECT_EQ(SystemValuesUtility::mainScreenSize(":59999"), (ScreenSize{0, 0}));
}

}  // namespace
}  // namespace tarq
