#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "system/OperatingSystem.h"

namespace tarq {

// Where the distribution describes itself; the second is the fallback os-release(5) names.
inline constexpr std::string_view kOsReleasePath = "/etc/os-release";
inline constexpr std::string_view kOsReleaseFallbackPath = "/usr/lib/os-release";

// The value of `key` in an os-release file, with its shell-style quoting removed.
std::optional<std::string> osReleaseValue(std::string_view content, std::string_view key);

// The version from a kernel release such as "6.1.0-18-amd64" (6, 1, 0) and the text
// "<PRETTY_NAME>, kernel <release>"; without a PRETTY_NAME the name is "Linux", as os-release(5)
// prescribes.
OperatingSystemVersion linuxOperatingSystemVersion(std::string_view kernelRelease,
                                                   std::optional<std::string_view> osRelease);

}  // namespace tarq
