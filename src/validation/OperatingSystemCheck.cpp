#include <array>
#include <string>

#include "validation/NumberText.h"
#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

constexpr std::string_view kTestName = kTestNamesInRunOrder[0];
constexpr std::string_view kMinimumRelease = "Mac OS X El Capitan 10.11.6";

// The 10.x releases by minor number. El Capitan is certified from 10.11.6 on; every later
// release up to Catalina is certified, every earlier one is not.
constexpr std::array<std::string_view, 16> kReleaseNames{
    "Mac OS X Cheetah",      "Mac OS X Puma",        "Mac OS X Jaguar",
    "Mac OS X Panther",      "Mac OS X Tiger",       "Mac OS X Leopard",
    "Mac OS X Snow Leopard", "Mac OS X Lion",        "Mac OS X Mountain Lion",
    "Mac OS X Mavericks",    "Mac OS X Yosemite",    "Mac OS X El Capitan",
    "Mac OS X Sierra",       "Mac OS X High Sierra", "Mac OS X Mojave",
    "Mac OS X Catalina",
};
constexpr int64_t kElCapitanMinor = 11;
constexpr int64_t kFirstCertifiedElCapitanPatch = 6;

}  // namespace

void ValidationRunner::checkOperatingSystem() {
  const OperatingSystemVersion version = facts().operatingSystemVersion();
  const std::string& versionText = version.versionText;
  measure(Measurement::ofText("version", integerText(version.majorVersion) + "." +
                                             integerText(version.minorVersion) + "." +
                                             integerText(version.patchVersion)));
  measure(Measurement::ofText("versionText", versionText));
  const auto releaseCount = static_cast<int64_t>(kReleaseNames.size());

  std::string_view status;
  std::string line;
  std::string detected;
  if (version.majorVersion >= 11) {
    status = StatusWord::pass;
    line = "Operating System:" + versionText;
    detected = versionText;
  } else if (version.majorVersion < 10 || version.minorVersion < 0) {
    status = StatusWord::fail;
    line = "This version of the Mac OS. " + versionText +
           " is older than the minimum requirement " + std::string(kMinimumRelease);
    detected = line;
  } else if (version.minorVersion >= releaseCount) {
    status = StatusWord::warn;
    line = "This application was last certified with a prior version of the Mac OS. " +
           versionText + " hasn't been verified, so its support is indeterminate";
    detected = line;
  } else {
    const std::string releaseName(kReleaseNames[static_cast<std::size_t>(version.minorVersion)]);
    const bool certified = version.minorVersion > kElCapitanMinor ||
                           (version.minorVersion == kElCapitanMinor &&
                            version.patchVersion >= kFirstCertifiedElCapitanPatch);
    const std::string named = "Operating System " + releaseName + " (" + versionText + " )";
    if (certified) {
      status = StatusWord::pass;
      line = named + " is a certified version for the application";
    } else {
      status = StatusWord::fail;
      line = named +
             " is not a certified version for the application. The minimum requirement is " +
             std::string(kMinimumRelease);
    }
    detected = releaseName;
  }

  appendResultLine(std::move(line));
  reportResultRow(kTestName, status, std::move(detected),
                  Remedy::operatingSystem(status == StatusWord::fail));
}

}  // namespace tarq
