#include <string>

#include "report/MachineDescription.h"
#include "system/probes/OperatingSystem.h"

namespace tarq {

// The serial number lives in IOKit's platform expert, which this program does not link: the
// report leaves it out rather than guess.
std::optional<std::string> readableSerialNumber() {
  return std::nullopt;
}

std::optional<std::string> operatingSystemName() {
  return "macOS";
}

// NSProcessInfo's numbers, as "14.2.1".
std::optional<std::string> operatingSystemVersionNumber() {
  const SystemValuesUtility::OperatingSystemVersion version =
      SystemValuesUtility::operatingSystemVersion();
  return std::to_string(version.majorVersion) + "." + std::to_string(version.minorVersion) + "." +
         std::to_string(version.patchVersion);
}

}  // namespace tarq
