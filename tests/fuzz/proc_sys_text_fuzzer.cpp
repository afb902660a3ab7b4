// The stand-in kernel-parameter service's readers of /proc and /sys texts. The first byte picks
// the reader, the rest is the file's text.
#include "FuzzText.h"
#include "system/kernel/proc_sys_text_linux.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string_view text = fuzzText(data + 1, size - 1);
  switch (data[0] % 6) {
    case 0:
      tarq::SystemValuesUtility::colonFieldValues(text, "processor");
      tarq::SystemValuesUtility::colonField(text, "model name");
      break;
    case 1:
      tarq::SystemValuesUtility::parseCacheSize(text);
      break;
    case 2:
      tarq::SystemValuesUtility::countInCpuList(text);
      break;
    case 3:
      tarq::SystemValuesUtility::isNumberedEntry(text, "memory");
      break;
    case 4:
      tarq::SystemValuesUtility::frequencyInModelName(text);
      break;
    default:
      tarq::SystemValuesUtility::armCoreName(text);
      break;
  }
  return 0;
}
