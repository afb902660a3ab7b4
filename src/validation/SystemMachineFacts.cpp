#include "system/kernel/KernelParameters.h"
#include "system/probes/DiskSpace.h"
#include "system/probes/OperatingSystem.h"
#include "system/probes/UsbProbe.h"
#include "validation/MachineFacts.h"

namespace tarq {

namespace svu = SystemValuesUtility;

OperatingSystemVersion SystemMachineFacts::operatingSystemVersion() {
  return svu::operatingSystemVersion();
}
std::optional<uint64_t> SystemMachineFacts::memorySize() {
  return svu::memorySize(calls_);
}
std::optional<int32_t> SystemMachineFacts::cpuCount() {
  return svu::cpuCount(calls_);
}
std::optional<uint32_t> SystemMachineFacts::l2CacheSize() {
  return svu::l2CacheSize(calls_);
}
std::optional<uint32_t> SystemMachineFacts::l3CacheSize() {
  return svu::l3CacheSize(calls_);
}
std::optional<uint32_t> SystemMachineFacts::cpu64BitCapable() {
  return svu::cpu64BitCapable(calls_);
}
std::optional<int64_t> SystemMachineFacts::cpuFrequency() {
  return svu::cpuFrequency(calls_);
}
std::optional<std::string> SystemMachineFacts::cpuBrandString() {
  return svu::cpuBrandString(calls_);
}
std::optional<std::string> SystemMachineFacts::machine() {
  return svu::machine(calls_);
}
int64_t SystemMachineFacts::freeDiskSpace() {
  return svu::freeDiskSpace();
}
int64_t SystemMachineFacts::totalDiskSpace() {
  return svu::totalDiskSpace();
}
double SystemMachineFacts::highestUSBVersion() {
  return svu::highestUSBVersion();
}
ScreenSize SystemMachineFacts::mainScreenSize() {
  return svu::mainScreenSize();
}
ChromeLocation SystemMachineFacts::locateChrome() {
  return svu::locateChrome();
}
MonoVersionInfo SystemMachineFacts::monoVersion() {
  return svu::monoVersion();
}

}  // namespace tarq
