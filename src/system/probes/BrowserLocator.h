#pragma once

#include <string>
#include <string_view>

#include "system/process/ToolRun.h"

namespace tarq::SystemValuesUtility {

// Where Google Chrome's bundle is and what its executable says its version is. Both are
// empty when the browser was not found.
struct ChromeLocation {
  std::string path;
  std::string version;

  friend bool operator==(const ChromeLocation&, const ChromeLocation&) = default;
};

// The only folder searched for the browser.
inline constexpr const char* kApplicationsFolder = "/Applications";
inline constexpr const char* kFindExecutable = "/usr/bin/find";

// A walk through a large applications folder (Xcode alone holds hundreds of thousands of files)
// can take minutes on a cold disk; a search still running after five counts as failed. It prints
// one path: more than 64 KiB of it is no bundle's.
inline constexpr ToolRunLimits kChromeSearchLimits{.maximumSleeps = 300,
                                                   .maximumOutputBytes = std::size_t{64} << 10};
// The browser answers "--version" at once with one line; one that hangs, or prints more than a
// megabyte, counts as not answering.
inline constexpr ToolRunLimits kChromeVersionLimits{.maximumSleeps = kGuardedRunSleeps,
                                                    .maximumOutputBytes = std::size_t{1} << 20};

// The bundle path the search below `root` printed, or the empty text. The search output is
// echoed on the diagnostic stream.
std::string findChrome(const std::string& root, const std::string& findExecutable = kFindExecutable,
                       const ToolRunLimits& limits = kChromeSearchLimits);

// The bundle path in the search's decoded output, or the empty text. The search prints exactly
// one path, and a folder name may hold line ends, so the path is the whole output less one final
// line feed. It counts only below `root` and named "google chrome.app" in any case: anything
// else is not a bundle the search found, and its executable must not be run.
std::string chromeBundlePath(std::string_view searchOutput, std::string_view root);

// What the bundle's executable prints for "--version", exactly as printed, or the empty text.
std::string chromeVersion(const std::string& appPath,
                          const ToolRunLimits& limits = kChromeVersionLimits);

ChromeLocation locateChrome(const std::string& applicationsFolder = kApplicationsFolder,
                            const std::string& findExecutable = kFindExecutable);

}  // namespace tarq::SystemValuesUtility
