#include <string>

#include "report/MachineDescription.h"
#include "system/kernel/KernelParameters.h"
#include "system/probes/os_version_linux.h"
#include "system/text/FileReading.h"
#include "system/text/TextScanning.h"

namespace tarq {

// The firmware's serial number is readable by root only; anyone else gets no value.
std::optional<std::string> readableSerialNumber() {
  const std::optional<std::string> serial =
      SystemValuesUtility::readWholeFile("/sys/class/dmi/id/product_serial");
  if (!serial) {
    return std::nullopt;
  }
  const std::string_view trimmed = SystemValuesUtility::trimWhitespace(*serial);
  return trimmed.empty() ? std::nullopt : std::optional<std::string>(trimmed);
}

// The distribution's PRETTY_NAME, else "Linux", as os-release(5) prescribes.
std::optional<std::string> operatingSystemName() {
  namespace system = SystemValuesUtility;
  std::optional<std::string> osRelease = system::readWholeFile(std::string(system::kOsReleasePath));
  if (!osRelease) {
    osRelease = system::readWholeFile(std::string(system::kOsReleaseFallbackPath));
  }
  const std::optional<std::string> prettyName =
      osRelease ? system::osReleaseValue(*osRelease, "PRETTY_NAME") : std::nullopt;
  return prettyName && !prettyName->empty() ? *prettyName : "Linux";
}

// The kernel release: Linux has no version of its own beyond it.
std::optional<std::string> operatingSystemVersionNumber() {
  return SystemValuesUtility::osRelease();
}

}  // namespace tarq
