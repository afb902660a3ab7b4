#include <cerrno>

#include "system/kernel/KernelParameterCalls.h"
#include "system/kernel/kernel_parameter_service_linux.h"

namespace tarq::SystemValuesUtility {

KernelParameterCalls& platformKernelParameterCalls() {
  static LinuxKernelParameterService service;
  return service;
}

// EHWPOISON is the highest error number the Linux kernel defines.
bool isPosixErrorNumber(int errorNumber) {
  return errorNumber >= 1 && errorNumber <= EHWPOISON;
}

}  // namespace tarq::SystemValuesUtility
