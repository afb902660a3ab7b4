// Provisional: no browser until the locator lands.
#include "system/BrowserLocator.h"

namespace tarq {

ChromeLocation SystemValuesUtility::locateChrome(const std::string& /*applicationsFolder*/) {
  return {};
}

}  // namespace tarq
