// Provisional: no Mono until the locator lands.
#include "system/MonoLocator.h"

namespace tarq {

MonoVersionInfo SystemValuesUtility::monoVersion() {
  return {"", "Unable to find the Mono Framework", 0};
}

}  // namespace tarq
