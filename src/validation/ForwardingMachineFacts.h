#pragma once

#include "validation/MachineFacts.h"

namespace tarq {

// Answers every question from another MachineFacts; a subclass answers some differently.
class ForwardingMachineFacts : public MachineFacts {
 public:
  explicit ForwardingMachineFacts(MachineFacts& facts) : facts_(facts) {}

  OperatingSystemVersion operatingSystemVersion() override {
    return facts_.operatingSystemVersion();
  }
  std::optional<uint64_t> memorySize() override { return facts_.memorySize(); }
  std::optional<int32_t> cpuCount() override { return facts_.cpuCount(); }
  std::optional<uint32_t> l2CacheSize() override { return facts_.l2CacheSize(); }
  std::optional<uint32_t> l3CacheSize() override { return facts_.l3CacheSize(); }
  std::optional<uint32_t> cpu64BitCapable() override { return facts_.cpu64BitCapable(); }
  std::optional<int64_t> cpuFrequency() override { return facts_.cpuFrequency(); }
  std::optional<std::string> cpuBrandString() override { return facts_.cpuBrandString(); }
  std::optional<std::string> machine() override { return facts_.machine(); }
  int64_t freeDiskSpace() override { return facts_.freeDiskSpace(); }
  int64_t totalDiskSpace() override { return facts_.totalDiskSpace(); }
  double highestUSBVersion() override { return facts_.highestUSBVersion(); }
  ScreenSize mainScreenSize() override { return facts_.mainScreenSize(); }
  ChromeLocation locateChrome() override { return facts_.locateChrome(); }
  MonoVersionInfo monoVersion() override { return facts_.monoVersion(); }

 protected:
  MachineFacts& facts_;
};

}  // namespace tarq
