#pragma once

#include <map>
#include <string>

namespace tarq::SystemValuesUtility {

// Raises the exception the bridge catches (macOS: NSException; Linux: PlatformException), or,
// with `derived`, one of a class derived from it, with this name and user information and a
// reason text the error must not carry.
[[noreturn]] void raisePlatformException(const std::string& name,
                                         const std::map<std::string, std::string>& userInfo = {},
                                         bool derived = false);

}  // namespace tarq::SystemValuesUtility
