#include "system/probes/BrowserLocator.h"

#include <algorithm>

#include "system/Diagnostics.h"
#include "system/text/TextParsing.h"

namespace tarq {
namespace {

// The search stops at the first entry of this name, compared without regard to case.
constexpr std::string_view kChromeBundleMarker = "google chrome.app";
// The length of "/Applications/Google Chrome.app": any shorter search result is not a bundle.
constexpr std::size_t kShortestChromePath = 31;

char asciiLowerCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` holds `lowerCaseNeedle`, ignoring the case of ASCII letters. That is all a
// full Unicode comparison would do for the marker: the only non-ASCII letters that fold to ASCII
// ones (the Kelvin sign and the long s) fold to letters the marker does not have.
bool containsIgnoringAsciiCase(std::string_view text, std::string_view lowerCaseNeedle) {
  return std::search(text.begin(), text.end(), lowerCaseNeedle.begin(), lowerCaseNeedle.end(),
                     [](char c, char lowerCase) { return asciiLowerCase(c) == lowerCase; }) !=
         text.end();
}

// Characters as Unicode scalars: every byte of valid UTF-8 but the continuation bytes.
std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
  }
  return count;
}

// A successful run's output as text; anything that is not valid UTF-8 reads as the empty text.
std::string decodedOutput(ToolRun run) {
  if (!run.launched || run.exitStatus != 0 || !isValidUtf8(run.output)) {
    return {};
  }
  return std::move(run.output);
}

}  // namespace

std::string SystemValuesUtility::findChrome(const std::string& root,
                                            const std::string& findExecutable, int maximumSleeps) {
  // The backslash reaches find as it is: its name matching reads "\ " as a plain blank.
  ToolRun run = runToolGuarded(
      findExecutable, {root, "-iname", "google\\ chrome.app", "-print", "-quit"}, maximumSleeps);
  if (!run.launched || run.exitStatus != 0) {
    return {};
  }
  const std::string text = decodedOutput(std::move(run));
  writeDiagnosticLine(text);
  return chromeBundleLine(text);
}

std::string SystemValuesUtility::chromeBundleLine(std::string_view searchOutput) {
  for (const std::string_view line : splitLinesAtAnyLineEnd(searchOutput)) {
    if (containsIgnoringAsciiCase(line, kChromeBundleMarker)) {
      return std::string(line);
    }
  }
  return {};
}

std::string SystemValuesUtility::chromeVersion(const std::string& appPath, int maximumSleeps) {
  return decodedOutput(
      runToolGuarded(appPath + "/Contents/MacOS/Google Chrome", {"--version"}, maximumSleeps));
}

ChromeLocation SystemValuesUtility::locateChrome(const std::string& applicationsFolder,
                                                 const std::string& findExecutable) {
  std::string path = findChrome(applicationsFolder, findExecutable);
  // Every real match lies below the searched folder. A line that does not is the tail of a
  // folder name with a line end in it, a relative path that must not be run.
  const bool belowFolder = path.starts_with(applicationsFolder + "/");
  if (!belowFolder || characterCount(path) < kShortestChromePath) {
    return {};
  }
  std::string version = chromeVersion(path);
  return {std::move(path), std::move(version)};
}

}  // namespace tarq
