// The stand-in profiler's reading of a root hub's version file, and its XML text of any bytes.
#include "FuzzText.h"
#include "SystemProfilerReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view versionFile = fuzzText(data, size);
  std::string out;
  tarq::standin::writeXmlText(out, tarq::standin::usbBusName(versionFile));
  tarq::standin::writeXmlText(out, versionFile);
  return 0;
}
