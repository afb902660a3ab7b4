#import <Foundation/Foundation.h>

#include "system/probes/OperatingSystem.h"

namespace tarq::SystemValuesUtility {

OperatingSystemVersion operatingSystemVersion() {
  @autoreleasepool {
    NSProcessInfo* processInfo = [NSProcessInfo processInfo];
    const NSOperatingSystemVersion version = processInfo.operatingSystemVersion;
    const char* text = processInfo.operatingSystemVersionString.UTF8String;
    return {version.majorVersion, version.minorVersion, version.patchVersion, text ? text : ""};
  }
}

}  // namespace tarq::SystemValuesUtility
