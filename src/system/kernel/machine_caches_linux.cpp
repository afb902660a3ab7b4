// The processor's L2 and L3 caches, for the Linux kernel-parameter service: from sysfs, else,
// on x86, from the processor itself (many virtual machines' sysfs lists no caches).
#include <algorithm>
#include <string>
#include <vector>

#include "system/kernel/machine_sources_linux.h"
#include "system/kernel/proc_sys_text_linux.h"

namespace tarq::SystemValuesUtility {
namespace {

// The size of the first processor's cache of the given level: the unified cache, or the data
// cache where instructions and data are split. A level the machine lacks is no value.
std::optional<uint64_t> sysfsCacheSize(const MachineSources& machine, uint64_t level) {
  const std::string directory = machine.path(std::string(kCpuDirectory) + "/cpu0/cache");
  std::vector<std::string> entries = directoryEntries(directory);
  std::sort(entries.begin(), entries.end());
  std::optional<uint64_t> dataCache;
  for (const std::string& entry : entries) {
    if (!isNumberedEntry(entry, "index")) {
      continue;
    }
    // The type and size only of a cache of this level: under /sys each read costs.
    const std::string index = directory + "/" + entry;
    const auto levelText = readWholeFile(index + "/level");
    if (!levelText || parseUnsignedDecimal(trimWhitespace(*levelText)) != level) {
      continue;
    }
    const auto type = readWholeFile(index + "/type");
    const std::string_view cacheType = type ? trimWhitespace(*type) : std::string_view();
    if (cacheType != "Unified" && (cacheType != "Data" || dataCache)) {
      continue;
    }
    const auto size = readWholeFile(index + "/size");
    if (!size) {
      continue;
    }
    if (cacheType == "Unified") {
      return parseCacheSize(trimWhitespace(*size));
    }
    dataCache = parseCacheSize(trimWhitespace(*size));
  }
  return dataCache;
}

bool isX86(std::string_view machineType) {
  return machineType == "x86_64" || machineType == "amd64" ||
         (machineType.size() == 4 && machineType[0] == 'i' && machineType.substr(2) == "86");
}

// The cache size sysfs gives, else, on x86, the one the processor reports.
std::optional<uint64_t> cacheSize(const MachineSources& machine, unsigned level) {
  if (const auto size = sysfsCacheSize(machine, level)) {
    return size;
  }
  return isX86(machine.identity().machine) ? cpuidCacheSize(machine.cpuid(), level) : std::nullopt;
}

}  // namespace

Reply l2CacheSizeReply(const MachineSources& machine) {
  return checkedIntegerReply<uint32_t>(cacheSize(machine, 2));
}

Reply l3CacheSizeReply(const MachineSources& machine) {
  return checkedIntegerReply<uint32_t>(cacheSize(machine, 3));
}

}  // namespace tarq::SystemValuesUtility
