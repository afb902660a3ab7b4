#include <string>

#include "validation/NumberText.h"
#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

constexpr std::string_view kTestName = kTestNamesInRunOrder[5];
// Below 1024 × 768 the client application's window needs scroll bars.
constexpr int64_t kMinimumWidth = 1024;
constexpr int64_t kMinimumHeight = 768;

}  // namespace

void ValidationRunner::checkScreenResolution() {
  const ScreenSize size = facts().mainScreenSize();
  // 0 × 0 is no main screen at all, not a tiny one.
  const bool noScreen = size.width == 0 && size.height == 0;
  measure(noScreen ? Measurement::unknown("widthPoints")
                   : Measurement::ofInteger("widthPoints", size.width));
  measure(noScreen ? Measurement::unknown("heightPoints")
                   : Measurement::ofInteger("heightPoints", size.height));
  std::string dimension =
      "Screen Dimension " + integerText(size.width) + " X " + integerText(size.height) + ". ";
  const bool bigEnough = size.width >= kMinimumWidth && size.height >= kMinimumHeight;
  appendResultLine(bigEnough ? dimension
                             : "Application will not display without scroll bars if resolution "
                               "is not set to 1024x768 or higher");
  reportResultRow(kTestName, bigEnough ? StatusWord::pass : StatusWord::fail, std::move(dimension),
                  Remedy::screen());
}

}  // namespace tarq
