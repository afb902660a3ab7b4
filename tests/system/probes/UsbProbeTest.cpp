#include <gtest/gtest.h>

#include <sstream>

#include "support/FakeTool.h"
#include "support/Tables.h"
#include "system/Diagnostics.h"
#include "system/probes/UsbProbe.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;
using testing::readFile;

// How a stand-in profiler answers one data type.
struct Answer {
  std::string report;
  int exitStatus = 0;
};

// A stand-in profiler answering the USB data type with `usb` and the USB host data type with
// `host` (a report of no buses unless given), each in XML, and refusing every other question.
// It writes each question it is asked as a line into "calls".
std::string profiler(const testing::TemporaryDirectory& directory, const Answer& usb,
                     const Answer& host = {readFile("usb/usb-empty-items.plist")}) {
  for (const auto& [type, answer] : {std::pair{"usb", usb}, std::pair{"host", host}}) {
    directory.write(std::string(type) + ".xml", answer.report);
    directory.write(std::string(type) + ".status", std::to_string(answer.exitStatus));
  }
  directory.write("calls", "");
  return testing::writeScript(directory, "system_profiler", R"sh(cd "$(dirname "$0")" || exit 70
echo "$*" >> calls
case "$*" in
  "-xml SPUSBDataType") type=usb ;;
  "-xml SPUSBHostDataType") type=host ;;
  *) exit 64 ;;
esac
cat "$type.xml"
exit "$(cat "$type.status")"
)sh");
}

// highestUSBVersion with `profilerPath`, and what it logged.
std::pair<double, std::string> probe(const std::string& profilerPath) {
  std::ostringstream log;
  setSystemLogEcho(&log);
  const double version = svu::highestUSBVersion(profilerPath);
  setSystemLogEcho(&std::cerr);
  return {version, log.str()};
}

TEST(UsbProbeTest, VersionTextIsTheFirstRunOfDigitsWithOneFullStop) {
  testing::expectEach<std::string_view, std::string_view>(svu::versionText,
                                                          {{"USB 3.0 Bus", "3.0"},
                                                           {"USB30Bus", "30"},
                                                           {"USB 3.1 Bus 2", "3.1"},
                                                           {"USB 2.0.1", "2.0"},
                                                           {"USB Bus", ""},
                                                           {"USB .5 Bus", "5"},
                                                           {"USB 3. Bus", "3."},
                                                           {"USB 3..1", "3."},
                                                           {"USB \xC3\xA9 3.1\xC3\xA9", "3.1"},
                                                           {"", ""},
                                                           {"USB 2.0 Bus.", "2.0"}});
}

TEST(UsbProbeTest, HighestVersionOfTheReportedBuses) {
  const struct {
    std::string_view fixture;
    double version;
    std::string_view log;
  } cases[] = {
      {"usb-two-buses.plist", 3.0, ""},
      {"usb-compact-names.plist", 3.1, ""},
      {"usb-larger-first.plist", 3.1, ""},
      // "USB310Bus" is 3.10; the second report of the root is not read.
      {"usb-second-report-and-three-digits.plist", 3.1, ""},
      {"usb-one-digit.plist", 1.0, ""},
      {"usb-trailing-full-stop.plist", 2.0, ""},
      {"usb-other-buses.plist", 0, ""},
      {"usb-entries-without-names.plist", 0, ""},
      {"usb-empty-items.plist", 0, ""},
      {"usb-no-items.plist", 0, ""},
      {"usb-items-not-array.plist", 0, ""},
      {"usb-root-dict.plist", 0, ""},
      {"usb-root-empty-array.plist", 0, ""},
      {"usb-truncated.plist", 0,
       "Failed to parse system_profiler results. Malformed XML at byte offset 445: Start-end "
       "tags mismatch\n"},
  };
  testing::TemporaryDirectory directory;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    EXPECT_EQ(probe(profiler(directory, {readFile("usb/" + std::string(c.fixture))})),
              std::pair(c.version, std::string(c.log)));
  }
}

// The host report is asked only when the USB report names no version; each failure is logged.
// A profiler that cannot be started gives no version and logs nothing.
TEST(UsbProbeTest, HostReportIsAskedOnlyWhenTheUsbReportNamesNoVersion) {
  const auto usb = [](std::string name, int status = 0) {
    return Answer{name.empty() ? "" : readFile("usb/usb-" + name + ".plist"), status};
  };
  const Answer macOs26{readFile("usb/usb-host-macos26.plist")};
  const std::string usbOnly = "-xml SPUSBDataType\n";
  const std::string both = usbOnly + "-xml SPUSBHostDataType\n";
  const std::string errorStatus = "system_profiler returned error status\n";
  const std::string noDocument =
      "Failed to parse system_profiler results. Malformed XML at byte "
      "offset 0: No document element found\n";
  const struct {
    Answer usb, host;
    double version;
    std::string calls, log;
  } cases[] = {
      {usb("two-buses"), macOs26, 3.0, usbOnly, ""},
      // A version that fails the check is a version all the same.
      {usb("one-digit"), macOs26, 1.0, usbOnly, ""},
      // macOS 26 refuses the USB data type, or reports no bus for it.
      {usb("", 1), macOs26, 3.1, both, errorStatus},
      {usb("empty-items"), macOs26, 3.1, both, ""},
      {usb("other-buses"), macOs26, 3.1, both, ""},
      {usb("two-buses", 1), {macOs26.report, 1}, 0, both, errorStatus + errorStatus},
      {usb(""), usb("", 1), 0, both, noDocument + errorStatus},
  };
  testing::TemporaryDirectory directory;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.usb.report.substr(0, 80) + std::to_string(c.usb.exitStatus));
    EXPECT_EQ(probe(profiler(directory, c.usb, c.host)), std::pair(c.version, c.log));
    EXPECT_EQ(readFile(directory.path() / "calls"), c.calls);
  }
  EXPECT_EQ(probe(directory.string() + "/missing"), std::pair(0.0, std::string()));
}

// A busy machine: many buses, each with a tree of devices, the fastest bus last.
TEST(UsbProbeTest, ReadsAMultiMegabyteReport) {
  std::string bus = "<dict><key>_items</key><array>";
  for (int device = 0; device < 40; ++device) {
    bus +=
        "\n\t\t\t<dict>\n\t\t\t\t<key>_name</key>\n\t\t\t\t<string>USB 9.9 Hub &amp; Card "
        "Reader</string>\n\t\t\t\t<key>location_id</key>\n\t\t\t\t<string>0x14100000 / 1"
        "</string>\n\t\t\t</dict>" +
        std::string(100, '\t');
  }
  std::string report = "<plist><array><dict><key>_items</key><array>";
  for (int count = 0; count < 500; ++count) {
    report += bus + "</array><key>_name</key><string>USB 2.0 Bus</string></dict>\n";
  }
  report +=
      "<dict><key>_name</key><string>USB 3.1 Bus</string></dict></array></dict></array>"
      "</plist>";
  ASSERT_GT(report.size(), 4u << 20);
  testing::TemporaryDirectory directory;
  EXPECT_EQ(probe(profiler(directory, {report})), std::pair(3.1, std::string()));
}

}  // namespace
}  // namespace tarq
