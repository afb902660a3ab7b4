// The Mono runtime's "--version" banner.
#include "FuzzText.h"
#include "system/probes/MonoLocator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarq::SystemValuesUtility::monoVersionFromBanner(fuzzText(data, size));
  return 0;
}
