#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "system/kernel/cpuid_cache_sizes_linux.h"
#include "system/kernel/kernel_parameter_service_linux.h"
#include "system/text/FileReading.h"
#include "system/text/TextParsing.h"

// Shared by the Linux kernel-parameter service's files, one per family of facts: where the facts
// are read, and the replies' byte layout. Not for use outside them.
namespace tarq::SystemValuesUtility {

// A parameter's reply bytes, exactly as the kernel would hand them over; no value when this
// machine does not have the parameter.
using Reply = std::optional<std::string>;

inline Reply textReply(std::string_view text) {
  std::string reply(text);
  reply.push_back('\0');
  return reply;
}

template <typename T>
Reply integerReply(T value) {
  std::string reply(sizeof(T), '\0');
  std::memcpy(reply.data(), &value, sizeof(T));
  return reply;
}

// A count or size as a reply of type T; no value when it has none or does not fit in T.
template <typename T>
Reply checkedIntegerReply(const std::optional<uint64_t>& value) {
  if (!value || *value > static_cast<uint64_t>(std::numeric_limits<T>::max())) {
    return std::nullopt;
  }
  return integerReply(static_cast<T>(*value));
}

// The facts of one machine, read from the files under a root directory.
class MachineSources {
 public:
  MachineSources(std::string_view rootDirectory, KernelIdentity identity, const CpuidQuery& cpuid)
      : root_(rootDirectory), identity_(std::move(identity)), cpuid_(cpuid) {
    while (!root_.empty() && root_.back() == '/') {
      root_.pop_back();
    }
  }

  const KernelIdentity& identity() const { return identity_; }
  const CpuidQuery& cpuid() const { return cpuid_; }
  std::string path(std::string_view absolutePath) const {
    return root_ + std::string(absolutePath);
  }
  std::optional<std::string> read(std::string_view absolutePath) const {
    return readWholeFile(path(absolutePath));
  }
  std::optional<std::string> readTrimmed(std::string_view absolutePath) const {
    auto text = read(absolutePath);
    if (text) {
      text = std::string(trimWhitespace(*text));
    }
    return text;
  }
  std::string cpuinfo() const { return read("/proc/cpuinfo").value_or(std::string{}); }

 private:
  std::string root_;
  KernelIdentity identity_;
  const CpuidQuery& cpuid_;
};

constexpr std::string_view kCpuDirectory = "/sys/devices/system/cpu";

// Memory (machine_memory_linux.cpp).
Reply memorySizeReply(const MachineSources& machine);

// Processors (machine_processors_linux.cpp).
Reply cpuCountReply(const MachineSources& machine);
Reply activeCpuCountReply(const MachineSources& machine);
Reply cpuFrequencyReply(const MachineSources& machine);
Reply cpu64BitCapableReply(const MachineSources& machine);
Reply cpuBrandStringReply(const MachineSources& machine);

// Caches (machine_caches_linux.cpp).
Reply l2CacheSizeReply(const MachineSources& machine);
Reply l3CacheSizeReply(const MachineSources& machine);

// The kernel and the machine's names (machine_identity_linux.cpp).
Reply osTypeReply(const MachineSources& machine);
Reply osReleaseReply(const MachineSources& machine);
Reply osRevisionReply(const MachineSources& machine);
Reply osVersionReply(const MachineSources& machine);
Reply kernelVersionReply(const MachineSources& machine);
Reply hostNameReply(const MachineSources& machine);
Reply machineReply(const MachineSources& machine);
Reply modelReply(const MachineSources& machine);

}  // namespace tarq::SystemValuesUtility
