#include <string>

#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

constexpr std::string_view kTestName = kTestNamesInRunOrder[6];

}  // namespace

void ValidationRunner::checkBrowser() {
  // A browser counts as found only when its executable told its version; the version itself is
  // not judged, and its own line end stays in the texts.
  ChromeLocation chrome = facts().locateChrome();
  measure(chrome.path.empty() ? Measurement::unknown("path")
                              : Measurement::ofText("path", chrome.path));
  measure(chrome.version.empty() ? Measurement::unknown("version")
                                 : Measurement::ofText("version", chrome.version));
  if (chrome.version.empty()) {
    appendResultLine("Application requires Google Chrome. Unable to find Google Chrome");
    reportResultRow(kTestName, StatusWord::fail, "Unable to find Google Chrome", Remedy::browser());
    return;
  }
  appendResultLine("Google Chrome File Location: " + chrome.path);
  appendResultLine("Google Chrome Version: " + chrome.version + " ");
  reportResultRow(kTestName, StatusWord::pass, std::move(chrome.version));
}

}  // namespace tarq
