#include "system/kernel/cpuid_cache_sizes_linux.h"

namespace tarq::SystemValuesUtility {

// Processors other than x86 have no CPUID instruction.
CpuidQuery processorCpuid() {
  return [](uint32_t, uint32_t) -> std::optional<CpuidRegisters> { return std::nullopt; };
}

}  // namespace tarq::SystemValuesUtility
