#include "system/kernel/cpuid_cache_sizes_linux.h"

namespace tarq::SystemValuesUtility {
namespace {

constexpr uint32_t kDeterministicCacheLeaf = 4;
constexpr uint32_t kExtendedCacheLeaf = 0x80000006;
// Leaf 4 has one subleaf per cache; real processors list fewer than ten.
constexpr uint32_t kMostCacheSubleaves = 64;

constexpr uint32_t kNoMoreCaches = 0;
constexpr uint32_t kDataCache = 1;
constexpr uint32_t kUnifiedCache = 3;

uint32_t bits(uint32_t value, unsigned low, unsigned count) {
  return (value >> low) & ((uint32_t{1} << count) - 1);
}

struct ListedCaches {
  bool any = false;
  std::optional<uint64_t> size;
};

// The unified cache of the level, or its data cache where instructions and data are split.
ListedCaches leafFourCache(const CpuidQuery& cpuid, unsigned level) {
  ListedCaches listed;
  std::optional<uint64_t> dataCache;
  for (uint32_t subleaf = 0; subleaf < kMostCacheSubleaves; ++subleaf) {
    const std::optional<CpuidRegisters> registers = cpuid(kDeterministicCacheLeaf, subleaf);
    if (!registers) {
      break;
    }
    const uint32_t type = bits(registers->eax, 0, 5);
    if (type == kNoMoreCaches) {
      break;
    }
    listed.any = true;
    if (bits(registers->eax, 5, 3) != level || (type != kUnifiedCache && type != kDataCache)) {
      continue;
    }
    // ways × partitions × line size × sets, each stored as one less than itself
    const uint64_t size = (uint64_t{bits(registers->ebx, 22, 10)} + 1) *
                          (uint64_t{bits(registers->ebx, 12, 10)} + 1) *
                          (uint64_t{bits(registers->ebx, 0, 12)} + 1) *
                          (uint64_t{registers->ecx} + 1);
    if (type == kUnifiedCache) {
      listed.size = size;
      return listed;
    }
    if (!dataCache) {
      dataCache = size;
    }
  }
  listed.size = dataCache;
  return listed;
}

}  // namespace

std::optional<uint64_t> cpuidCacheSize(const CpuidQuery& cpuid, unsigned level) {
  const ListedCaches listed = leafFourCache(cpuid, level);
  if (listed.any) {
    return listed.size;
  }
  const std::optional<CpuidRegisters> extended = cpuid(kExtendedCacheLeaf, 0);
  if (!extended) {
    return std::nullopt;
  }
  // L2 in KiB in ECX bits 31–16; L3 in 512 KiB units in EDX bits 31–18. 0 is no cache.
  uint64_t size = 0;
  if (level == 2) {
    size = uint64_t{bits(extended->ecx, 16, 16)} << 10;
  } else if (level == 3) {
    size = uint64_t{bits(extended->edx, 18, 14)} << 19;
  }
  return size == 0 ? std::nullopt : std::optional<uint64_t>(size);
}

}  // namespace tarq::SystemValuesUtility
