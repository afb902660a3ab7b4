#include <string>

#include "validation/NumberText.h"
#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

constexpr std::string_view kTestName = kTestNamesInRunOrder[4];
// The client application's devices need USB 2.0; the bound is inclusive.
constexpr double kMinimumVersion = 2.0;

}  // namespace

void ValidationRunner::checkUSBVersion() {
  const double version = facts().highestUSBVersion();
  measure(version == 0 ? Measurement::unknown("highestVersion")
                       : Measurement::ofText("highestVersion", shortestDecimal(version)));
  std::string_view status;
  std::string line;
  if (version == 0) {
    // Every failure of the probe arrives as 0: the versions could not be determined.
    status = StatusWord::warn;
    line = "Unable to determine USB versions available on device";
  } else {
    status = version >= kMinimumVersion ? StatusWord::pass : StatusWord::fail;
    line = "Highest Available USB Version: " + shortestDecimal(version);
  }
  appendResultLine(line);
  reportResultRow(kTestName, status, std::move(line), Remedy::usb(version == 0));
}

}  // namespace tarq
