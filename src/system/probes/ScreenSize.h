#pragma once

#include <cstdint>

namespace tarq::SystemValuesUtility {

// The main screen's size in points; (0, 0) when there is none.
struct ScreenSize {
  int64_t width = 0;
  int64_t height = 0;

  friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

// The main screen's size. On Linux the screen is the main monitor of the X display named
// `displayName` (null: the one in DISPLAY), in pixels divided by the desktop's scale; macOS has
// one main screen and ignores the name.
ScreenSize mainScreenSize(const char* displayName = nullptr);

}  // namespace tarq::SystemValuesUtility
