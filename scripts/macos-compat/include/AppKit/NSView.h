// GNUstep's NSView plus the accessibility label of macOS 10.10's NSAccessibility protocol,
// which GNUstep lacks. Kept: Zig has Apple's C headers but no AppKit.
#pragma once

#include_next <AppKit/NSView.h>

@interface NSView (MacOSAccessibilityLabel)
// Apple: @property(copy) NSString* accessibilityLabel; (NSAccessibility, macOS 10.10)
@property(copy) NSString* accessibilityLabel;
@end
