#include "system/probes/UsbProbe.h"

namespace tarq::SystemValuesUtility {

std::string systemProfilerPath() {
  return "/usr/sbin/system_profiler";
}

}  // namespace tarq::SystemValuesUtility
