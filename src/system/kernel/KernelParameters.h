#pragma once

#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "system/kernel/KernelParameterCalls.h"

// Kernel-parameter reads of SystemValuesUtility: raw replies, typed values and texts, by MIB or
// by dotted name, and one named accessor per parameter the program knows.
namespace tarq::SystemValuesUtility {

// The identifier of a kernel parameter: one 32-bit integer per level.
using Mib = std::vector<int32_t>;

// CTL_MAXNAME: the most levels a MIB can have.
inline constexpr std::size_t kMaxMibLevels = 12;

// The one error of the kernel-parameter reads.
class Error : public std::exception {
 public:
  enum class Case { posixError, unknown, malformedUTF8, invalidSize };

  static Error posixError(int errorNumber) { return Error(Case::posixError, errorNumber); }
  static Error unknown() { return Error(Case::unknown, 0); }
  static Error malformedUTF8() { return Error(Case::malformedUTF8, 0); }
  static Error invalidSize() { return Error(Case::invalidSize, 0); }

  Case errorCase() const { return errorCase_; }
  // The errno value of a posixError; 0 for the other cases.
  int posixErrorNumber() const { return errorNumber_; }
  const char* what() const noexcept override;

  friend bool operator==(const Error& a, const Error& b) {
    return a.errorCase_ == b.errorCase_ && a.errorNumber_ == b.errorNumber_;
  }

 private:
  Error(Case errorCase, int errorNumber) : errorCase_(errorCase), errorNumber_(errorNumber) {}
  Case errorCase_;
  int errorNumber_;
};

// Size query, then data read. The reply keeps the size the query reported, even when the data
// read reports fewer bytes; the tail then stays zero.
std::vector<int8_t> sysctlData(const Mib& mib,
                               KernelParameterCalls& calls = platformKernelParameterCalls());

Mib sysctlMIB(std::string_view name, KernelParameterCalls& calls = platformKernelParameterCalls());

// The reply's bytes, in native byte order, as a T; invalidSize unless the reply is exactly
// sizeof(T) bytes long.
template <typename T>
T sysctlValue(const Mib& mib, KernelParameterCalls& calls = platformKernelParameterCalls()) {
  static_assert(std::is_trivially_copyable_v<T>);
  const std::vector<int8_t> reply = sysctlData(mib, calls);
  if (reply.size() != sizeof(T)) {
    throw Error::invalidSize();
  }
  T value;
  std::memcpy(&value, reply.data(), sizeof(T));
  return value;
}

template <typename T>
T sysctlValue(std::string_view name, KernelParameterCalls& calls = platformKernelParameterCalls()) {
  return sysctlValue<T>(sysctlMIB(name, calls), calls);
}

// The reply up to its first NUL byte, which must be valid UTF-8.
std::string sysctlString(const Mib& mib,
                         KernelParameterCalls& calls = platformKernelParameterCalls());
std::string sysctlString(std::string_view name,
                         KernelParameterCalls& calls = platformKernelParameterCalls());

// Named accessors. They never throw: a parameter that cannot be read is no value, never a
// made-up number, and the checks report it as unknown.
std::optional<std::string> hostName(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<std::string> machine(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<std::string> model(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<int32_t> activeCPUCount(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<std::string> osRelease(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<std::string> osType(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<std::string> osVersion(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<std::string> kernelVersion(
    KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<int32_t> osRevision(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<int64_t> cpuFrequency(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<uint64_t> memorySize(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<int32_t> cpuCount(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<uint32_t> l2CacheSize(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<uint32_t> l3CacheSize(KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<uint32_t> cpu64BitCapable(
    KernelParameterCalls& calls = platformKernelParameterCalls());
std::optional<std::string> cpuBrandString(
    KernelParameterCalls& calls = platformKernelParameterCalls());

}  // namespace tarq::SystemValuesUtility

namespace tarq::SystemValuesUtility {

// The identifiers the program reads by MIB, as the platform's sysctl header numbers them.
namespace KernelParameterMib {
inline constexpr int32_t kCtlKern = 1;
inline constexpr int32_t kCtlHw = 6;
inline const SystemValuesUtility::Mib hostName{kCtlKern, 10};      // KERN_HOSTNAME
inline const SystemValuesUtility::Mib machine{kCtlHw, 1};          // HW_MACHINE
inline const SystemValuesUtility::Mib model{kCtlHw, 2};            // HW_MODEL
inline const SystemValuesUtility::Mib activeCPUCount{kCtlHw, 25};  // HW_AVAILCPU
inline const SystemValuesUtility::Mib osRelease{kCtlKern, 2};      // KERN_OSRELEASE
inline const SystemValuesUtility::Mib osType{kCtlKern, 1};         // KERN_OSTYPE
inline const SystemValuesUtility::Mib osVersion{kCtlKern, 65};     // KERN_OSVERSION
inline const SystemValuesUtility::Mib kernelVersion{kCtlKern, 4};  // KERN_VERSION
inline const SystemValuesUtility::Mib osRevision{kCtlKern, 3};     // KERN_OSREV
inline const SystemValuesUtility::Mib memorySize{kCtlHw, 24};      // HW_MEMSIZE
inline const SystemValuesUtility::Mib cpuCount{kCtlHw, 3};         // HW_NCPU
inline const SystemValuesUtility::Mib l2CacheSize{kCtlHw, 20};     // HW_L2CACHESIZE
inline const SystemValuesUtility::Mib l3CacheSize{kCtlHw, 22};     // HW_L3CACHESIZE
}  // namespace KernelParameterMib

// The parameters the program reads by dotted name.
namespace KernelParameterName {
inline constexpr std::string_view cpuFrequency = "hw.cpufrequency";
inline constexpr std::string_view cpu64BitCapable = "hw.cpu64bit_capable";
inline constexpr std::string_view cpuBrandString = "machdep.cpu.brand_string";
}  // namespace KernelParameterName

}  // namespace tarq::SystemValuesUtility
