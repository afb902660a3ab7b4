// The output of the search for the browser's bundle.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "system/probes/BrowserLocator.h"
#include "system/text/TextParsing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view output(reinterpret_cast<const char*>(data), size);
  if (tarq::isValidUtf8(output)) {
    tarq::SystemValuesUtility::chromeBundlePath(output, "/Applications");
  }
  return 0;
}
