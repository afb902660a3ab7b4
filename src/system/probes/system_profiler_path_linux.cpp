#include <unistd.h>

#include "system/probes/UsbProbe.h"

namespace tarq::SystemValuesUtility {

// The stand-in profiler is built and installed with the programs, in the helper folder that
// the build sets up beside the program folder (TARQ_HELPERS_FROM_PROGRAMS, relative to it).
// It is found from the running program's own path, never through PATH, so that neither the
// working directory nor the environment can put another tool in its place.
std::string systemProfilerPath() {
  char program[4096];
  const ssize_t length = ::readlink("/proc/self/exe", program, sizeof program);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof program) {
    return {};
  }
  std::string path(program, static_cast<std::size_t>(length));
  path.erase(path.rfind('/') + 1);
  return path + TARQ_HELPERS_FROM_PROGRAMS "/system_profiler";
}

}  // namespace tarq::SystemValuesUtility
