#pragma once

#include <cstdint>

namespace tarq {

// The main screen's size in points (macOS) or pixels (Linux); (0, 0) when there is none.
struct ScreenSize {
  int64_t width = 0;
  int64_t height = 0;

  friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

namespace SystemValuesUtility {

ScreenSize mainScreenSize();

}  // namespace SystemValuesUtility
}  // namespace tarq
