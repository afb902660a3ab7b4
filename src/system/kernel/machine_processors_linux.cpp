// The processors, for the Linux kernel-parameter service: their count, how many are online,
// whether they are 64-bit, their frequency and their marketing name.
#include <string>

#include "system/kernel/machine_sources_linux.h"
#include "system/kernel/proc_sys_text_linux.h"

namespace tarq::SystemValuesUtility {

// Configured processors: one cpuN directory each, as glibc counts them.
Reply cpuCountReply(const MachineSources& machine) {
  uint64_t count = 0;
  for (const std::string& entry : directoryEntries(machine.path(kCpuDirectory))) {
    count += isNumberedEntry(entry, "cpu") ? 1u : 0u;
  }
  if (count == 0) {
    count = colonFieldValues(machine.cpuinfo(), "processor").size();
  }
  return count == 0 ? std::nullopt : checkedIntegerReply<int32_t>(count);
}

// Online processors; /proc/cpuinfo lists only online ones, so it stands in for the list.
Reply activeCpuCountReply(const MachineSources& machine) {
  const auto list = machine.read(std::string(kCpuDirectory) + "/online");
  auto count = list ? countInCpuList(*list) : std::nullopt;
  if (!count) {
    const std::size_t listed = colonFieldValues(machine.cpuinfo(), "processor").size();
    count = listed == 0 ? std::nullopt : std::optional<uint64_t>(listed);
  }
  return checkedIntegerReply<int32_t>(count);
}

// The nominal frequency in hertz, from the most to the least reliable source. "cpu MHz" is the
// current clock of the first processor, which comes last for that reason.
Reply cpuFrequencyReply(const MachineSources& machine) {
  for (const std::string_view file : {"base_frequency", "cpuinfo_max_freq"}) {
    const auto text =
        machine.read(std::string(kCpuDirectory) + "/cpu0/cpufreq/" + std::string(file));
    const auto kilohertz = text ? parseUnsignedDecimal(trimWhitespace(*text)) : std::nullopt;
    uint64_t hertz = 0;
    if (kilohertz && *kilohertz > 0 && !__builtin_mul_overflow(*kilohertz, 1000u, &hertz)) {
      return checkedIntegerReply<int64_t>(hertz);
    }
  }
  const std::string cpuinfo = machine.cpuinfo();
  if (const auto modelName = colonField(cpuinfo, "model name")) {
    const auto hertz = frequencyInModelName(*modelName);
    if (hertz && *hertz > 0) {
      return checkedIntegerReply<int64_t>(hertz);
    }
  }
  if (const auto megahertz = colonField(cpuinfo, "cpu MHz")) {
    const auto hertz = parseScaledDecimal(*megahertz, 1'000'000);
    if (hertz && *hertz > 0) {
      return checkedIntegerReply<int64_t>(hertz);
    }
  }
  return std::nullopt;
}

// 1 on a 64-bit processor: the long-mode flag on x86, else a 64-bit machine type.
Reply cpu64BitCapableReply(const MachineSources& machine) {
  const std::string cpuinfo = machine.cpuinfo();
  if (const auto flags = colonField(cpuinfo, "flags")) {
    const std::string padded = " " + std::string(*flags) + " ";
    return integerReply<uint32_t>(padded.find(" lm ") != std::string::npos ? 1u : 0u);
  }
  const std::string& machineType = machine.identity().machine;
  const bool is64Bit = machineType.find("64") != std::string::npos || machineType == "s390x";
  return integerReply<uint32_t>(is64Bit ? 1u : 0u);
}

// The processor's marketing name: "model name", or the closest field other architectures have.
Reply cpuBrandStringReply(const MachineSources& machine) {
  const std::string cpuinfo = machine.cpuinfo();
  for (const std::string_view key : {"model name", "Processor", "cpu model", "uarch"}) {
    if (const auto value = colonField(cpuinfo, key)) {
      return textReply(*value);
    }
  }
  if (const auto core = armCoreName(cpuinfo)) {
    return textReply(*core);
  }
  if (const auto hardware = colonField(cpuinfo, "Hardware")) {
    return textReply(*hardware);
  }
  return std::nullopt;
}

}  // namespace tarq::SystemValuesUtility
