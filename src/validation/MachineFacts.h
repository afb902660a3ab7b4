#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "system/kernel/KernelParameterCalls.h"
#include "system/probes/BrowserLocator.h"
#include "system/probes/MonoLocator.h"
#include "system/probes/OperatingSystem.h"
#include "system/probes/ScreenSize.h"

namespace tarq {

// The system layer's words for the facts, which the checks speak too.
using SystemValuesUtility::ChromeLocation;
using SystemValuesUtility::KernelParameterCalls;
using SystemValuesUtility::MonoVersionInfo;
using SystemValuesUtility::OperatingSystemVersion;
using SystemValuesUtility::platformKernelParameterCalls;
using SystemValuesUtility::ScreenSize;

// Everything the checks learn about the machine, one question per fact. The product answers
// from SystemValuesUtility; tests answer with plain values, so every branch of every check can
// be reached. An empty optional is a fact that could not be read.
class MachineFacts {
 public:
  virtual ~MachineFacts() = default;

  virtual OperatingSystemVersion operatingSystemVersion() = 0;

  virtual std::optional<uint64_t> memorySize() = 0;

  virtual std::optional<int32_t> cpuCount() = 0;
  virtual std::optional<uint32_t> l2CacheSize() = 0;
  virtual std::optional<uint32_t> l3CacheSize() = 0;
  virtual std::optional<uint32_t> cpu64BitCapable() = 0;
  virtual std::optional<int64_t> cpuFrequency() = 0;
  virtual std::optional<std::string> cpuBrandString() = 0;
  virtual std::optional<std::string> machine() = 0;

  // Bytes; 0 when the volume cannot be read.
  virtual int64_t freeDiskSpace() = 0;
  virtual int64_t totalDiskSpace() = 0;

  // 0 when no version could be determined.
  virtual double highestUSBVersion() = 0;
  // (0, 0) without a main screen.
  virtual ScreenSize mainScreenSize() = 0;
  virtual ChromeLocation locateChrome() = 0;
  virtual MonoVersionInfo monoVersion() = 0;
};

// The facts of the machine the program runs on, from the given kernel-parameter service.
class SystemMachineFacts final : public MachineFacts {
 public:
  explicit SystemMachineFacts(KernelParameterCalls& calls = platformKernelParameterCalls())
      : calls_(calls) {}

  OperatingSystemVersion operatingSystemVersion() override;
  std::optional<uint64_t> memorySize() override;
  std::optional<int32_t> cpuCount() override;
  std::optional<uint32_t> l2CacheSize() override;
  std::optional<uint32_t> l3CacheSize() override;
  std::optional<uint32_t> cpu64BitCapable() override;
  std::optional<int64_t> cpuFrequency() override;
  std::optional<std::string> cpuBrandString() override;
  std::optional<std::string> machine() override;
  int64_t freeDiskSpace() override;
  int64_t totalDiskSpace() override;
  double highestUSBVersion() override;
  ScreenSize mainScreenSize() override;
  ChromeLocation locateChrome() override;
  MonoVersionInfo monoVersion() override;

 private:
  KernelParameterCalls& calls_;
};

}  // namespace tarq
