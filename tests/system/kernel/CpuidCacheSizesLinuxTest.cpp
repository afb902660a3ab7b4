#include <gtest/gtest.h>

#include <map>

#include "system/kernel/cpuid_cache_sizes_linux.h"

namespace tarq::SystemValuesUtility {
namespace {

using Leaves = std::map<std::pair<uint32_t, uint32_t>, CpuidRegisters>;

// Registers as recorded on real processors.
TEST(CpuidCacheSizesTest, SizesFromTheLeafEachVendorFills) {
  // Intel Core i7-8550U: leaf 4 lists L1d, L1i, L2 (256 KiB) and L3 (8 MiB); leaf 0x80000006
  // has no L3 field on Intel and must not be used while leaf 4 lists caches.
  const Leaves intel{
      {{4, 0}, {0x1c004121, 0x01c0003f, 0x0000003f, 0}},
      {{4, 1}, {0x1c004122, 0x01c0003f, 0x0000003f, 0}},
      {{4, 2}, {0x1c004143, 0x00c0003f, 0x000003ff, 0}},
      {{4, 3}, {0x1c03c163, 0x03c0003f, 0x00001fff, 6}},
      {{4, 4}, {0, 0, 0, 0}},
      {{0x80000006, 0}, {0, 0, 0x01006040, 0}},
  };
  // Leaf 4 with split level-2 caches only: the data cache stands for the level.
  const Leaves splitSecondLevel{
      {{4, 0}, {0x00000042, 0x01c0003f, 0x000001ff, 0}},  // L2 instructions, 256 KiB
      {{4, 1}, {0x00000041, 0x01c0003f, 0x000003ff, 0}},  // L2 data, 512 KiB
  };
  const struct {
    std::string_view processor;
    Leaves leaves;
    std::optional<uint64_t> l2, l3;
  } cases[] = {
      {"Intel", intel, 262144, 8388608},
      {"split level 2", splitSecondLevel, 524288, std::nullopt},
      // An AMD EPYC (leaf 4 all zeros) is in the Linux service's test.
      {"AMD without an L3", {{{0x80000006, 0}, {0, 0, 0x08006140, 0}}}, 2097152, std::nullopt},
      {"reports neither", {}, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.processor);
    const CpuidQuery cpuid = [&](uint32_t leaf, uint32_t subleaf) -> std::optional<CpuidRegisters> {
      const auto found = c.leaves.find({leaf, subleaf});
      return found == c.leaves.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(cpuidCacheSize(cpuid, 2), c.l2);
    EXPECT_EQ(cpuidCacheSize(cpuid, 3), c.l3);
  }
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
