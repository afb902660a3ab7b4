#pragma once

#include <optional>
#include <string>

namespace tarq {

// Who the machine of a report is, for fleet tools that gather reports of many: values the
// system gives, each empty where it does not (never made up).
struct MachineDescription {
  std::optional<std::string> hostName;
  std::optional<std::string> modelIdentifier;
  // Only where the running user may read it.
  std::optional<std::string> serialNumber;
  std::optional<std::string> operatingSystemName;
  std::optional<std::string> operatingSystemVersion;
  std::optional<std::string> operatingSystemBuild;
  std::optional<std::string> architecture;
};

MachineDescription describeThisMachine();

// The platform's part (machine_description_<platform>.cpp): the serial number and the
// operating system's name and version.
std::optional<std::string> readableSerialNumber();
std::optional<std::string> operatingSystemName();
std::optional<std::string> operatingSystemVersionNumber();

}  // namespace tarq
