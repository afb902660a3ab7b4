// The output of the search for the browser's bundle.
#include "FuzzText.h"
#include "system/probes/BrowserLocator.h"
#include "system/text/TextParsing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view output = fuzzText(data, size);
  if (tarq::SystemValuesUtility::isValidUtf8(output)) {
    tarq::SystemValuesUtility::chromeBundlePath(output, "/Applications");
  }
  return 0;
}
