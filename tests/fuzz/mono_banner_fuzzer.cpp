// The Mono runtime's "--version" banner.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "system/probes/MonoLocator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarq::SystemValuesUtility::monoVersionFromBanner(
      std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
