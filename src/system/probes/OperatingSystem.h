#pragma once

#include <cstdint>
#include <string>

namespace tarq::SystemValuesUtility {

// The operating system's version as the platform reports it to applications.
struct OperatingSystemVersion {
  int64_t majorVersion = 0;
  int64_t minorVersion = 0;
  int64_t patchVersion = 0;
  // The human-readable version text, shown verbatim and never parsed.
  std::string versionText;

  friend bool operator==(const OperatingSystemVersion&, const OperatingSystemVersion&) = default;
};

// macOS: NSProcessInfo's numbers and text. Linux: 0.0.0, and the distribution's name with the
// kernel release.
OperatingSystemVersion operatingSystemVersion();

}  // namespace tarq::SystemValuesUtility
