#include <cpuid.h>

#include "system/kernel/cpuid_cache_sizes_linux.h"

namespace tarq::SystemValuesUtility {

CpuidQuery processorCpuid() {
  return [](uint32_t leaf, uint32_t subleaf) -> std::optional<CpuidRegisters> {
    CpuidRegisters registers;
    // Returns 0 for a leaf beyond the processor's highest one.
    if (__get_cpuid_count(leaf, subleaf, &registers.eax, &registers.ebx, &registers.ecx,
                          &registers.edx) == 0) {
      return std::nullopt;
    }
    return registers;
  };
}

}  // namespace tarq::SystemValuesUtility
