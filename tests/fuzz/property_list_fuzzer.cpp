// The system profiler's report: the property-list reader and the scan of the USB bus names.
#include <string>

#include "FuzzText.h"
#include "system/probes/UsbProbe.h"
#include "system/text/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarq::SystemValuesUtility::PropertyListParse parsed =
      tarq::SystemValuesUtility::PropertyList::parse(std::string(fuzzText(data, size)));
  if (parsed.document) {
    tarq::SystemValuesUtility::highestUSBVersion(*parsed.document);
  }
  return 0;
}
