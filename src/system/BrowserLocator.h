#pragma once

#include <string>

namespace tarq {

// Where Google Chrome's bundle is and what its executable says its version is. Both are
// empty when the browser was not found.
struct ChromeLocation {
  std::string path;
  std::string version;

  friend bool operator==(const ChromeLocation&, const ChromeLocation&) = default;
};

namespace SystemValuesUtility {

// The only folder searched for the browser.
inline constexpr const char* kApplicationsFolder = "/Applications";

ChromeLocation locateChrome(const std::string& applicationsFolder = kApplicationsFolder);

}  // namespace SystemValuesUtility
}  // namespace tarq
