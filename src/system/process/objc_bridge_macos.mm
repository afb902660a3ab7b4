#import <Foundation/Foundation.h>

#include "system/process/ObjC.h"

namespace tarq::SystemValuesUtility {

namespace {

std::string utf8(id object) {
  const char* text = [[object description] UTF8String];
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

// C++ exceptions are not NSExceptions: @catch lets them pass on to the caller unchanged.
bool ObjC::catchException(const std::function<void()>& closure, ErrorValue& error) {
  @try {
    closure();
    return true;
  } @catch (NSException* exception) {
    ErrorValue caught;
    caught.domain = utf8(exception.name);
    NSDictionary* userInfo = exception.userInfo;
    // objectForKey: rather than subscripting, which GCC's runtime (GNUstep on Linux) lacks.
    for (id key in userInfo) {
      caught.userInfo[utf8(key)] = utf8([userInfo objectForKey:key]);
    }
    error = std::move(caught);
    return false;
  }
}

}  // namespace tarq::SystemValuesUtility
