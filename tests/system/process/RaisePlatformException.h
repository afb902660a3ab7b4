#pragma once

#include <map>
#include <string>

namespace tarq::SystemValuesUtility {

// The exception the bridge catches (NSException; PlatformException on Linux), or with `derived`
// one of a class derived from it; its reason text must not reach the error.
[[noreturn]] void raisePlatformException(const std::string& name,
                                         const std::map<std::string, std::string>& userInfo = {},
                                         bool derived = false);

}  // namespace tarq::SystemValuesUtility
