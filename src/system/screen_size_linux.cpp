// Provisional: no screen until the display probe lands.
#include "system/ScreenSize.h"

namespace tarq {

ScreenSize SystemValuesUtility::mainScreenSize() {
  return {};
}

}  // namespace tarq
