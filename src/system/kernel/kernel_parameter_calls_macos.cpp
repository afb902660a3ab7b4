#include <sys/errno.h>
#include <sys/sysctl.h>

#include "system/kernel/DarwinKernelParameterCalls.h"

namespace tarq::SystemValuesUtility {

KernelParameterCalls& platformKernelParameterCalls() {
  static DarwinKernelParameterCalls calls({::sysctl, ::sysctlnametomib});
  return calls;
}

bool isPosixErrorNumber(int errorNumber) {
  return errorNumber >= 1 && errorNumber <= ELAST;
}

}  // namespace tarq::SystemValuesUtility
