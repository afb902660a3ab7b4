#include <sys/errno.h>
#include <sys/sysctl.h>

#include "system/kernel/KernelParameterCalls.h"

namespace tarq::SystemValuesUtility {
namespace {

class DarwinKernelParameterCalls final : public KernelParameterCalls {
 public:
  int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp,
             size_t newlen) override {
    return ::sysctl(name, namelen, oldp, oldlenp, newp, newlen);
  }
  int sysctlnametomib(const char* name, int* mibp, size_t* sizep) override {
    return ::sysctlnametomib(name, mibp, sizep);
  }
};

}  // namespace

KernelParameterCalls& platformKernelParameterCalls() {
  static DarwinKernelParameterCalls calls;
  return calls;
}

bool isPosixErrorNumber(int errorNumber) {
  return errorNumber >= 1 && errorNumber <= ELAST;
}

}  // namespace tarq::SystemValuesUtility
