#include "system/kernel/KernelParameters.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>

#include "system/Diagnostics.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {
namespace {

// The error for a failed platform call, from the errno it left.
Error errorFromErrno(int errorNumber) {
  return isPosixErrorNumber(errorNumber) ? Error::posixError(errorNumber) : Error::unknown();
}

// Runs `read` and turns a failure into no value.
template <typename Read>
auto valueOrNothing(Read read) -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const Error&) {
    return std::nullopt;
  }
}

}  // namespace

const char* Error::what() const noexcept {
  switch (errorCase_) {
    case Case::posixError:
      return "kernel parameter read failed with a POSIX error";
    case Case::unknown:
      return "kernel parameter read failed";
    case Case::malformedUTF8:
      return "kernel parameter text is not valid UTF-8";
    case Case::invalidSize:
      return "kernel parameter reply has the wrong size";
  }
  return "kernel parameter error";
}

std::vector<int8_t> sysctlData(const Mib& mib, KernelParameterCalls& calls) {
  Mib levels = mib;  // the C call takes a mutable pointer
  const auto levelCount = static_cast<u_int>(levels.size());

  size_t size = 0;
  errno = 0;
  if (calls.sysctl(levels.data(), levelCount, nullptr, &size, nullptr, 0) != 0) {
    const int errorNumber = errno;
    const Error error = errorFromErrno(errorNumber);
    if (error.errorCase() == Error::Case::posixError) {
      writeDiagnosticLine(std::to_string(errorNumber));
    }
    throw error;
  }

  std::vector<int8_t> reply(size, 0);
  size_t replySize = reply.size();
  errno = 0;
  if (calls.sysctl(levels.data(), levelCount, reply.data(), &replySize, nullptr, 0) != 0) {
    throw errorFromErrno(errno);
  }
  return reply;
}

Mib sysctlMIB(std::string_view name, KernelParameterCalls& calls) {
  const std::string terminatedName(name);
  std::array<int, kMaxMibLevels> levels{};
  size_t levelCount = levels.size();
  errno = 0;
  if (calls.sysctlnametomib(terminatedName.c_str(), levels.data(), &levelCount) != 0) {
    throw errorFromErrno(errno);
  }
  if (levelCount > levels.size()) {
    levelCount = levels.size();
  }
  return Mib(levels.begin(), levels.begin() + static_cast<std::ptrdiff_t>(levelCount));
}

std::string sysctlString(const Mib& mib, KernelParameterCalls& calls) {
  const std::vector<int8_t> reply = sysctlData(mib, calls);
  std::string text(reinterpret_cast<const char*>(reply.data()), reply.size());
  text.resize(std::min(text.size(), text.find('\0')));
  if (!isValidUtf8(text)) {
    throw Error::malformedUTF8();
  }
  return text;
}

std::string sysctlString(std::string_view name, KernelParameterCalls& calls) {
  return sysctlString(sysctlMIB(name, calls), calls);
}

std::optional<std::string> hostName(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlString(KernelParameterMib::hostName, calls); });
}
std::optional<std::string> machine(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlString(KernelParameterMib::machine, calls); });
}
std::optional<std::string> model(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlString(KernelParameterMib::model, calls); });
}
std::optional<int32_t> activeCPUCount(KernelParameterCalls& calls) {
  return valueOrNothing(
      [&] { return sysctlValue<int32_t>(KernelParameterMib::activeCPUCount, calls); });
}
std::optional<std::string> osRelease(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlString(KernelParameterMib::osRelease, calls); });
}
std::optional<std::string> osType(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlString(KernelParameterMib::osType, calls); });
}
std::optional<std::string> osVersion(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlString(KernelParameterMib::osVersion, calls); });
}
std::optional<std::string> kernelVersion(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlString(KernelParameterMib::kernelVersion, calls); });
}
std::optional<int32_t> osRevision(KernelParameterCalls& calls) {
  return valueOrNothing(
      [&] { return sysctlValue<int32_t>(KernelParameterMib::osRevision, calls); });
}
std::optional<int64_t> cpuFrequency(KernelParameterCalls& calls) {
  return valueOrNothing(
      [&] { return sysctlValue<int64_t>(KernelParameterName::cpuFrequency, calls); });
}
std::optional<uint64_t> memorySize(KernelParameterCalls& calls) {
  return valueOrNothing(
      [&] { return sysctlValue<uint64_t>(KernelParameterMib::memorySize, calls); });
}
std::optional<int32_t> cpuCount(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlValue<int32_t>(KernelParameterMib::cpuCount, calls); });
}
std::optional<uint32_t> l2CacheSize(KernelParameterCalls& calls) {
  return valueOrNothing(
      [&] { return sysctlValue<uint32_t>(KernelParameterMib::l2CacheSize, calls); });
}
std::optional<uint32_t> l3CacheSize(KernelParameterCalls& calls) {
  return valueOrNothing(
      [&] { return sysctlValue<uint32_t>(KernelParameterMib::l3CacheSize, calls); });
}
std::optional<uint32_t> cpu64BitCapable(KernelParameterCalls& calls) {
  return valueOrNothing(
      [&] { return sysctlValue<uint32_t>(KernelParameterName::cpu64BitCapable, calls); });
}
std::optional<std::string> cpuBrandString(KernelParameterCalls& calls) {
  return valueOrNothing([&] { return sysctlString(KernelParameterName::cpuBrandString, calls); });
}

}  // namespace tarq::SystemValuesUtility
