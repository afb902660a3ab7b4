#include "system/probes/BrowserLocator.h"

#include <algorithm>

#include "system/Diagnostics.h"
#include "system/text/FileReading.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {
namespace {

// The bundle's name, compared without regard to case.
constexpr std::string_view kChromeBundleName = "google chrome.app";
// The length of "/Applications/Google Chrome.app": any shorter search result is not a bundle.
constexpr std::size_t kShortestChromePath = 31;

// Whether `text` is `lowerCaseName`, ignoring the case of ASCII letters. That is all a full
// Unicode comparison would do for the bundle's name: the only non-ASCII letters that fold to
// ASCII ones (the Kelvin sign and the long s) fold to letters the name does not have.
bool equalsIgnoringAsciiCase(std::string_view text, std::string_view lowerCaseName) {
  return std::equal(text.begin(), text.end(), lowerCaseName.begin(), lowerCaseName.end(),
                    [](char c, char lowerCase) { return asciiLowerCase(c) == lowerCase; });
}

// A successful run's output as text; anything that is not valid UTF-8 reads as the empty text.
std::string decodedOutput(ToolRun run) {
  if (!run.launched || run.exitStatus != 0 || !isValidUtf8(run.output)) {
    return {};
  }
  return std::move(run.output);
}

}  // namespace

std::string findChrome(const std::string& root, const std::string& findExecutable,
                       const ToolRunLimits& limits) {
  // The backslash reaches find as it is: its name matching reads "\ " as a plain blank.
  ToolRun run = runToolGuarded(findExecutable,
                               {root, "-iname", "google\\ chrome.app", "-print", "-quit"}, limits);
  if (!run.launched || run.exitStatus != 0) {
    return {};
  }
  const std::string text = decodedOutput(std::move(run));
  writeDiagnosticLine(text);
  return chromeBundlePath(text, root);
}

std::string chromeBundlePath(std::string_view searchOutput, std::string_view root) {
  std::string_view path = searchOutput;
  if (path.ends_with('\n')) {
    path.remove_suffix(1);
  }
  const bool belowRoot =
      path.size() > root.size() && path.starts_with(root) && path[root.size()] == '/';
  const std::string_view name = path.substr(path.rfind('/') + 1);
  if (!belowRoot || !equalsIgnoringAsciiCase(name, kChromeBundleName)) {
    return {};
  }
  return std::string(path);
}

std::string chromeVersion(const std::string& appPath, const ToolRunLimits& limits) {
  return decodedOutput(
      runToolGuarded(appPath + "/Contents/MacOS/Google Chrome", {"--version"}, limits));
}

ChromeLocation locateChrome(const std::string& applicationsFolder,
                            const std::string& findExecutable) {
  // A folder that is not there holds no bundle, and the search would only fail on it: on a
  // machine without one, the pass is spared a process start.
  if (!isDirectory(applicationsFolder)) {
    return {};
  }
  std::string path = findChrome(applicationsFolder, findExecutable);
  if (codePointCount(path) < kShortestChromePath) {
    return {};
  }
  std::string version = chromeVersion(path);
  return {std::move(path), std::move(version)};
}

}  // namespace tarq::SystemValuesUtility
