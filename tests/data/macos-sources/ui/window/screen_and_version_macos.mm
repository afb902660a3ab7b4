// Foundation and AppKit as on a Mac, in a folder two levels down: compiles cleanly.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

namespace {

[[maybe_unused]] bool atLeastElCapitan() {
  @autoreleasepool {
    const NSOperatingSystemVersion version = [NSProcessInfo processInfo].operatingSystemVersion;
    const NSRect frame = [NSScreen mainScreen].frame;
    return version.majorVersion >= 10 && frame.size.width > 0;
  }
}

}  // namespace
