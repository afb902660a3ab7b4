// GNUstep's NSProcessInfo plus the operating-system version of macOS 10.10, which GNUstep lacks.
// Kept: Zig has Apple's C headers but no Foundation.
#pragma once

#include_next <Foundation/NSProcessInfo.h>

// Apple: typedef struct { NSInteger majorVersion; NSInteger minorVersion;
//                         NSInteger patchVersion; } NSOperatingSystemVersion;
typedef struct {
  NSInteger majorVersion;
  NSInteger minorVersion;
  NSInteger patchVersion;
} NSOperatingSystemVersion;

@interface NSProcessInfo (MacOSOperatingSystemVersion)
// Apple: @property (readonly) NSOperatingSystemVersion operatingSystemVersion;
@property(readonly) NSOperatingSystemVersion operatingSystemVersion;
// Apple: - (BOOL) isOperatingSystemAtLeastVersion:(NSOperatingSystemVersion)version;
- (BOOL)isOperatingSystemAtLeastVersion:(NSOperatingSystemVersion)version;
@end
