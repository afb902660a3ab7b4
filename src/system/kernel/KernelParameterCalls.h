#pragma once

#include <sys/types.h>

#include <cstddef>

namespace tarq::SystemValuesUtility {

// The two C calls of the kernel-parameter service, with their exact signatures. On macOS they
// are the C library's own; on Linux a stand-in service answers them the way the kernel would.
// Tests substitute a fake to drive every error path.
class KernelParameterCalls {
 public:
  virtual ~KernelParameterCalls() = default;

  // Reads the parameter named by the MIB `name` (of `namelen` levels). With `oldp` null it only
  // reports the reply's size in `*oldlenp`. Returns 0, or -1 with errno set.
  virtual int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp,
                     size_t newlen) = 0;

  // Translates a dotted name into its MIB; `*sizep` holds the room in `mibp` on entry and the
  // number of levels filled on return. Returns 0, or -1 with errno set.
  virtual int sysctlnametomib(const char* name, int* mibp, size_t* sizep) = 0;
};

// The service of the platform the program runs on.
KernelParameterCalls& platformKernelParameterCalls();

// Whether `errorNumber` is one of the platform's POSIX error codes (errno 0 is not).
bool isPosixErrorNumber(int errorNumber);

}  // namespace tarq::SystemValuesUtility
