#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace tarq::SystemValuesUtility {

// The four registers one CPUID instruction fills.
struct CpuidRegisters {
  uint32_t eax = 0;
  uint32_t ebx = 0;
  uint32_t ecx = 0;
  uint32_t edx = 0;
};

// Runs CPUID for a leaf and subleaf; no value where the processor does not have that leaf (or
// is no x86 processor). Tests give recorded register values instead.
using CpuidQuery = std::function<std::optional<CpuidRegisters>(uint32_t leaf, uint32_t subleaf)>;

// The processor the program runs on.
CpuidQuery processorCpuid();

// The size in bytes of the processor's cache of `level` (2 or 3): from leaf 4 (deterministic
// cache parameters) where the processor lists its caches there, as Intel's do; else from leaf
// 0x80000006, as AMD's report them. No value for a level neither leaf reports.
std::optional<uint64_t> cpuidCacheSize(const CpuidQuery& cpuid, unsigned level);

}  // namespace tarq::SystemValuesUtility
