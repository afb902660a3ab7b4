// macOS: the name is the view's accessibility label, which VoiceOver reads.
#import <AppKit/AppKit.h>

#include "ui/AccessibleName.h"

namespace tarq {

void setAccessibleName(void* nativeControl, const char* utf8Name) {
  if (nativeControl == nullptr) {
    return;
  }
  @autoreleasepool {
    NSView* view = static_cast<NSView*>(nativeControl);
    // A data view is an outline view inside a scroll view; the outline view is the table.
    if ([view isKindOfClass:[NSScrollView class]]) {
      NSView* document = [static_cast<NSScrollView*>(view) documentView];
      if (document != nil) {
        view = document;
      }
    }
    [view setAccessibilityLabel:[NSString stringWithUTF8String:utf8Name]];
  }
}

}  // namespace tarq
