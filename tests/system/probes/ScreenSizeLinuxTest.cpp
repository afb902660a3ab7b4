#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "support/Tables.h"
#include "support/VirtualDisplay.h"
#include "system/probes/ScreenSize.h"
#include "system/probes/screen_size_linux.h"

namespace tarq::SystemValuesUtility {

void PrintTo(const ScreenSize& size, std::ostream* out) {
  *out << size.width << " x " << size.height;
}

namespace {

// What no display is made to show below: two primaries, monitors showing nothing.
TEST(ScreenSizeLinuxTest, MainMonitorIsThePrimaryElseTheOneAtTheOriginElseTheFirst) {
  const MonitorArea primary{1280, 0, 1920, 1080, true};
  const MonitorArea off{0, 0, 0, 0, true};  // listed but showing nothing
  const MonitorArea below{0, 1024, 1024, 768, false};
  testing::expectEach<std::vector<MonitorArea>, std::optional<ScreenSize>>(
      mainMonitorSize, {{{primary, MonitorArea{0, 0, 800, 600, true}}, ScreenSize{1920, 1080}},
                        {{off, below, primary}, ScreenSize{1920, 1080}},
                        {{off, below}, ScreenSize{1024, 768}},
                        {{off}, std::nullopt},
                        {{}, std::nullopt}});
}

// GDK_SCALE, where a whole number of 1 or more, wins over Xft.dpi of 96 or more (TextParsingTest
// has what is no number).
TEST(ScreenSizeLinuxTest, PointsArePixelsDividedByTheDesktopScale) {
  const struct {
    const char* gdkScale;
    const char* xftDpi;
    ScreenSize pixels, points;
  } cases[] = {
      {"", "", {1920, 1080}, {1920, 1080}},      {"2", "", {2880, 1800}, {1440, 900}},
      {"1", "192", {2880, 1800}, {2880, 1800}},  {"", "100.8", {1920, 1080}, {1828, 1028}},
      {"", "115.2", {1920, 1200}, {1600, 1000}},  // exact, where 115.2 / 96 is not in binary
      {"0", "192", {2880, 1800}, {1440, 900}},   {"1.5", "", {1920, 1080}, {1920, 1080}},
      {"", "75", {1024, 768}, {1024, 768}},      {"2", "", {0, 0}, {0, 0}},
  };
  for (const auto& c : cases) {
    XDisplayFacts facts;
    facts.screen = c.pixels;
    facts.xftDpi = c.xftDpi;
    EXPECT_EQ(mainScreenPoints(facts, c.gdkScale), c.points)
        << "GDK_SCALE=" << c.gdkScale << " Xft.dpi=" << c.xftDpi;
  }
}

TEST(ScreenSizeLinuxTest, XftDpiIsTheLastEntryOfThatNameInTheResources) {
  testing::expectEach<std::string_view, std::string_view>(
      [](std::string_view resources) { return xResourceValue(resources, "Xft.dpi"); },
      {{"Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", "192"},
       {"Xft.dpi: 96\nXft.dpi:\t144", "144"},
       {"  Xft.dpi :  120  \n", "120"},
       {"Xft.dpi:\n", ""},
       {"*dpi:\t192\nXft.dpiScale:\t2\n! Xft.dpi:\t192\n", ""},
       {"Xft.dpi\t192\n", ""},
       {"", ""}});
}

// Xvfb's RandR 1.6 has one output, "screen", and monitors xrandr defines over it; servers
// older than 1.5 are asked for 1.3's outputs instead.
TEST(ScreenSizeLinuxTest, MainScreenOfAnXDisplayIsItsMainMonitorInPointsAndNoneWithout) {
  const std::string small =
      "x --newmode small 63.50 1024 1072 1176 1328 768 771 775 798; x --addmode screen small; "
      "x --output screen --mode small --fb 1600x1200";
  const std::string dpi192 = "echo 'Xft.dpi: 192' | xrdb -display $D -nocpp -merge";
  const struct {
    std::string setUp;  // shell commands; x runs xrandr on the display $D
    ScreenSize main;
    const char* gdkScale = nullptr;
    std::string outputs = "2560x1440+0+0 ";  // "WxH+X+Y " each, "*" marking the primary
  } cases[] = {
      // The primary monitor, neither first nor at the origin.
      {"x --setmonitor Left 1280/339x1440/381+0+0 none; "
       "x --setmonitor '*Right' 1000/265x800/212+1280+0 none",
       {1000, 800}},
      {small + " --primary", {1024, 768}, nullptr, "*1024x768+0+0 "},  // a primary output's CRTC
      // No primary: the monitor at the origin, though listed second.
      {"x --setmonitor Side 1000/265x800/212+1280+0 none; "
       "x --setmonitor Desk 1280/339x1024/271+0+0 screen",
       {1280, 1024}},
      {dpi192, {1280, 720}},
      {dpi192, {853, 480}, "3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setUp);
    const testing::VirtualDisplay display(2560, 1440);
    const std::string script = "set -e; D=" + display.name() + "; x() { xrandr -d $D \"$@\"; }; ";
    ASSERT_EQ(std::system(("(" + script + c.setUp + ") >/dev/null").c_str()), 0);
    c.gdkScale != nullptr ? ::setenv("GDK_SCALE", c.gdkScale, 1) : ::unsetenv("GDK_SCALE");
    EXPECT_EQ(SystemValuesUtility::mainScreenSize(display.name().c_str()), c.main);
    const auto facts = readXDisplay(display.name().c_str(), MonitorQuery::outputs);
    ASSERT_TRUE(facts);
    std::string outputs;
    for (const MonitorArea& m : facts->monitors) {
      outputs += (m.primary ? "*" : "") + std::to_string(m.width) + "x" + std::to_string(m.height) +
                 "+" + std::to_string(m.x) + "+" + std::to_string(m.y) + " ";
    }
    EXPECT_EQ(outputs, c.outputs);
  }
  // Display numbers this high are never served here.
  EXPECT_EQ(SystemValuesUtility::mainScreenSize(":59999"), (ScreenSize{0, 0}));
  const std::string display = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
  ::unsetenv("DISPLAY");
  EXPECT_EQ(SystemValuesUtility::mainScreenSize(), (ScreenSize{0, 0}));
  ::setenv("DISPLAY", "", 1);
  EXPECT_EQ(SystemValuesUtility::mainScreenSize(), (ScreenSize{0, 0}));
  ::setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
