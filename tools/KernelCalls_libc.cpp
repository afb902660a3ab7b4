// The stand-in's system calls through the C library: for the tests, the sanitizer builds and
// wherever the start without it does not apply (see CMakeLists.txt).
#include <unistd.h>

#include <cerrno>

#include "KernelCalls.h"

namespace tarq::standin {

long kernelCall(long number, long first, long second, long third) {
  const long result = ::syscall(number, first, second, third);
  return result == -1 ? -errno : result;
}

}  // namespace tarq::standin
