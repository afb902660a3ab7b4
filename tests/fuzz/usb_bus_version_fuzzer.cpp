// The stand-in profiler's reading of a root hub's version file, and the report it writes.
#include <string>

#include "FuzzText.h"
#include "SystemProfilerReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view versionFile = fuzzText(data, size);
  tarq::standin::usbReportXml({{tarq::standin::usbBusName(versionFile), std::string(versionFile)}},
                              "SPUSBDataType");
  return 0;
}
