// The X display's resource string, whose Xft.dpi sets the desktop's scale, and GDK_SCALE: the
// input's first line stands for GDK_SCALE, the rest for the resources.
#include <string>

#include "FuzzText.h"
#include "system/probes/screen_size_linux.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzzText(data, size);
  const std::size_t lineEnd = text.find('\n');
  const std::string_view gdkScale = text.substr(0, lineEnd);
  const std::string_view resources =
      lineEnd == std::string_view::npos ? std::string_view{} : text.substr(lineEnd + 1);
  tarq::SystemValuesUtility::XDisplayFacts facts;
  facts.screen = {32767, 32767};  // the largest X screen
  facts.xftDpi = std::string(tarq::SystemValuesUtility::xResourceValue(resources, "Xft.dpi"));
  const tarq::SystemValuesUtility::ScreenSize points =
      tarq::SystemValuesUtility::mainScreenPoints(facts, gdkScale);
  if (points.width < 0 || points.width > facts.screen.width || points.height < 0 ||
      points.height > facts.screen.height) {
    __builtin_trap();  // a scale never enlarges the screen
  }
  return 0;
}
