// A misspelt property: the check names this file and line.
#import <Foundation/Foundation.h>

namespace {

[[maybe_unused]] long majorVersion() {
  return [NSProcessInfo processInfo].operatingSystemVersionn.majorVersion;
}

}  // namespace
