#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "system/probes/OperatingSystem.h"

namespace tarq::SystemValuesUtility {

// Where the distribution describes itself; the second is the fallback os-release(5) names.
inline constexpr std::string_view kOsReleasePath = "/etc/os-release";
inline constexpr std::string_view kOsReleaseFallbackPath = "/usr/lib/os-release";

// The value of `key` in an os-release file, with its shell-style quoting removed.
std::optional<std::string> osReleaseValue(std::string_view content, std::string_view key);

// Linux as the platform's version: the numbers 0.0.0 (no macOS version at all) and the text
// "<PRETTY_NAME>, kernel <release>"; without a PRETTY_NAME the name is "Linux", as os-release(5)
// prescribes.
OperatingSystemVersion linuxOperatingSystemVersion(std::string_view kernelRelease,
                                                   std::optional<std::string_view> osRelease);

}  // namespace tarq::SystemValuesUtility
