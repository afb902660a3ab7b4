// The stand-in profiler's reading of a root hub's version file, and the report it writes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "SystemProfilerReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view versionFile(reinterpret_cast<const char*>(data), size);
  tarq::standin::usbReportXml({{tarq::standin::usbBusName(versionFile), std::string(versionFile)}},
                              "SPUSBDataType");
  return 0;
}
