#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/probes/ScreenSize.h"

namespace tarq::SystemValuesUtility {

// One monitor of an X screen as XRandR lists it, in device pixels.
struct MonitorArea {
  int64_t x = 0;
  int64_t y = 0;
  int64_t width = 0;
  int64_t height = 0;
  bool primary = false;
};

// What the screen probe reads from an X display, in device pixels.
struct XDisplayFacts {
  ScreenSize screen;                  // the whole X screen: the bounding box of its monitors
  std::vector<MonitorArea> monitors;  // in the server's order; empty without RandR 1.3
  std::string xftDpi;                 // Xft.dpi of the display's resource database, if any
};

// How XRandR is asked for the monitors: RandR 1.5's monitor list (which holds the monitors
// the desktop defines and one per output otherwise), or RandR 1.3's outputs and their CRTCs.
enum class MonitorQuery { monitors, outputs };

// Reads the X display `displayName` (null: DISPLAY's); no value when no display is named, the X
// libraries cannot be loaded or the display cannot be opened. The monitor list is asked for
// at most at the level `highest`, and only where both server and library offer it.
std::optional<XDisplayFacts> readXDisplay(const char* displayName,
                                          MonitorQuery highest = MonitorQuery::monitors);

// The monitor that stands in for the Mac's main screen: the primary one, else the one at the
// origin, else the first; monitors without an area do not count.
std::optional<ScreenSize> mainMonitorSize(const std::vector<MonitorArea>& monitors);

// The value of `name` in an X resource string ("Xft.dpi:\t192\n"); empty where it has none.
std::string_view xResourceValue(std::string_view resources, std::string_view name);

// The desktop's scale as device pixels per point, `pixels` / `points`.
struct DesktopScale {
  uint64_t pixels = 1;
  uint64_t points = 1;
};

// GDK_SCALE, a whole number of 1 or more, where set; else Xft.dpi / 96; else 1. Scales below 1
// count as 1: an Xft.dpi under 96 (old servers' 75) shrinks text, not the desktop.
DesktopScale desktopScale(std::string_view gdkScale, std::string_view xftDpi);

// The main screen in points: the main monitor (else the whole screen) divided by the desktop's
// scale, truncated toward zero.
ScreenSize mainScreenPoints(const XDisplayFacts& facts, std::string_view gdkScale);

}  // namespace tarq::SystemValuesUtility
