#pragma once

#include <string>
#include <string_view>

#include "system/process/ToolRun.h"

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
inline constexpr const char* kFindExecutable = "/usr/bin/find";

// A walk through a large applications folder (Xcode alone holds hundreds of thousands of files)
// can take minutes on a cold disk; a search still running after five counts as failed.
inline constexpr int kChromeSearchSleeps = 300;
// The browser answers "--version" at once; one that hangs counts as not answering.
inline constexpr int kChromeVersionSleeps = kGuardedRunSleeps;

// The first line of the search below `root` that names the bundle, or the empty text. The
// search output is echoed on the diagnostic stream.
std::string findChrome(const std::string& root, const std::string& findExecutable = kFindExecutable,
                       int maximumSleeps = kChromeSearchSleeps);

// The first line of the search's decoded output that names the bundle, or the empty text. Lines
// end at every line end the platform's text services know.
std::string chromeBundleLine(std::string_view searchOutput);

// What the bundle's executable prints for "--version", exactly as printed, or the empty text.
std::string chromeVersion(const std::string& appPath, int maximumSleeps = kChromeVersionSleeps);

ChromeLocation locateChrome(const std::string& applicationsFolder = kApplicationsFolder,
                            const std::string& findExecutable = kFindExecutable);

}  // namespace SystemValuesUtility
}  // namespace tarq
