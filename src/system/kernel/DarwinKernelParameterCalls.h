#pragma once

#include "system/kernel/KernelParameterCalls.h"

namespace tarq::SystemValuesUtility {

// The C library's two sysctl calls, as Apple declares them.
struct DarwinSysctlFunctions {
  int (*sysctl)(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp, size_t newlen);
  int (*sysctlnametomib)(const char* name, int* mibp, size_t* sizep);
};

// The macOS kernel-parameter service. It makes the calls through the functions it is given: on
// a Mac the C library's own, in tests a fake kernel that answers as a Mac's does, so that the
// path a Mac runs is exercised on Linux too.
class DarwinKernelParameterCalls final : public KernelParameterCalls {
 public:
  explicit DarwinKernelParameterCalls(DarwinSysctlFunctions functions) : functions_(functions) {}

  int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp,
             size_t newlen) override {
    return functions_.sysctl(name, namelen, oldp, oldlenp, newp, newlen);
  }
  int sysctlnametomib(const char* name, int* mibp, size_t* sizep) override {
    return functions_.sysctlnametomib(name, mibp, sizep);
  }

 private:
  DarwinSysctlFunctions functions_;
};

}  // namespace tarq::SystemValuesUtility
