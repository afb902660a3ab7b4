// The distribution's os-release file.
#include "FuzzText.h"
#include "system/probes/os_version_linux.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzzText(data, size);
  tarq::SystemValuesUtility::osReleaseValue(text, "PRETTY_NAME");
  tarq::SystemValuesUtility::linuxOperatingSystemVersion("6.1.0-18-amd64", text);
  return 0;
}
