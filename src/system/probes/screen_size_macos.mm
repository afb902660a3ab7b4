// The main screen on macOS: NSScreen's mainScreen, its frame in points (no scale factor).
#import <AppKit/AppKit.h>

#include <cmath>
#include <cstdint>

#include "system/probes/ScreenSize.h"

namespace tarq::SystemValuesUtility {
namespace {

// Truncates toward zero; a length no screen can have counts as none.
int64_t screenLength(CGFloat points) {
  const double length = static_cast<double>(points);
  if (!std::isfinite(length) || length <= 0.0 || length >= 1e15) {
    return 0;
  }
  return static_cast<int64_t>(length);
}

}  // namespace

ScreenSize mainScreenSize(const char* /*displayName*/) {
  @autoreleasepool {
    NSScreen* screen = [NSScreen mainScreen];
    if (screen == nil) {
      return {};
    }
    const NSRect frame = [screen frame];
    return {screenLength(frame.size.width), screenLength(frame.size.height)};
  }
}

}  // namespace tarq::SystemValuesUtility
