// The installed memory, for the Linux kernel-parameter service.
#include <algorithm>
#include <string>
#include <vector>

#include "system/kernel/machine_sources_linux.h"
#include "system/kernel/proc_sys_text_linux.h"

namespace tarq::SystemValuesUtility {
namespace {

constexpr std::string_view kMemoryDirectory = "/sys/devices/system/memory";

}  // namespace

// Installed memory: the memory blocks times the block size. A block taken offline is still
// installed, as macOS counts it, and listing the blocks costs one directory read where asking
// each for its state would cost hundreds of file reads. /proc/meminfo's MemTotal leaves out what
// the kernel reserves, so it is only the fallback where /sys has no blocks.
Reply memorySizeReply(const MachineSources& machine) {
  const std::string directory = machine.path(kMemoryDirectory);
  const auto blockSizeText = readWholeFile(directory + "/block_size_bytes");
  const auto blockSize =
      blockSizeText ? parseUnsignedHex(trimWhitespace(*blockSizeText)) : std::nullopt;
  if (blockSize && *blockSize > 0) {
    const std::vector<std::string> entries = directoryEntries(directory);
    const auto blocks = static_cast<uint64_t>(
        std::count_if(entries.begin(), entries.end(),
                      [](const std::string& entry) { return isNumberedEntry(entry, "memory"); }));
    uint64_t bytes = 0;
    if (blocks > 0 && !__builtin_mul_overflow(blocks, *blockSize, &bytes)) {
      return integerReply(bytes);
    }
  }

  const auto meminfo = machine.read("/proc/meminfo");
  const auto memTotal = meminfo ? colonField(*meminfo, "MemTotal") : std::nullopt;
  if (!memTotal || !memTotal->ends_with(" kB")) {
    return std::nullopt;
  }
  const auto kibibytes =
      parseUnsignedDecimal(trimWhitespace(memTotal->substr(0, memTotal->size() - 3)));
  uint64_t bytes = 0;
  if (!kibibytes || __builtin_mul_overflow(*kibibytes, uint64_t{1024}, &bytes)) {
    return std::nullopt;
  }
  return integerReply(bytes);
}

}  // namespace tarq::SystemValuesUtility
