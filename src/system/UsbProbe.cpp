// Provisional: reports no USB version until the profiler probe lands.
#include "system/UsbProbe.h"

namespace tarq::SystemValuesUtility {

std::string systemProfilerPath() {
  return "/usr/sbin/system_profiler";
}

double highestUSBVersion(const std::string& /*profilerPath*/) {
  return 0;
}

}  // namespace tarq::SystemValuesUtility
