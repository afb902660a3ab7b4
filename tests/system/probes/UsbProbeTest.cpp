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
// `host`, each in XML, and refusing every other question. It writes each question it is asked
// as a line into "calls".
std::string profiler(const testing::TemporaryDirectory& directory, const Answer& usb,
                     const Answer& host) {
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

// The highest version of the buses the USB report names; the host report is asked only when
// that names none. Each failure is logged; a profiler that cannot be started gives no version
// and logs nothing.
TEST(UsbProbeTest, HighestBusVersionAskingTheHostReportOnlyWhenTheUsbReportNamesNone) {
  const auto usb = [](std::string name, int status = 0) {
    return Answer{name.empty() ? "" : readFile("usb/usb-" + name + ".plist"), status};
  };
  // A busy machine: many buses, each with a tree of devices, the fastest bus last.
  std::string bus = "<dict><key>_items</key><array>";
  for (int device = 0; device < 40; ++device) {
    bus +=
        "\n\t\t\t<dict>\n\t\t\t\t<key>_name</key>\n\t\t\t\t<string>USB 9.9 Hub &amp; Card "
        "Reader</string>\n\t\t\t\t<key>location_id</key>\n\t\t\t\t<string>0x14100000 / 1"
        "</string>\n\t\t\t</dict>" +
        std::string(100, '\t');
  }
  std::string busy = "<plist><array><dict><key>_items</key><array>";
  for (int count = 0; count < 500; ++count) {
    busy += bus + "</array><key>_name</key><string>USB 2.0 Bus</string></dict>\n";
  }
  busy +=
      "<dict><key>_name</key><string>USB 3.1 Bus</string></dict></array></dict></array>"
      "</plist>";
  ASSERT_GT(busy.size(), 4u << 20);
  const Answer macOs26{readFile("usb/usb-host-macos26.plist")};
  const std::string usbOnly = "-xml SPUSBDataType\n";
  const std::string both = usbOnly + "-xml SPUSBHostDataType\n";
  const std::string errorStatus = "system_profiler returned error status\n";
  const std::string malformed = "Failed to parse system_profiler results. Malformed XML at byte ";
  const struct {
    Answer usb, host;
    double version;
    std::string calls, log;
  } cases[] = {
      {usb("two-buses"), macOs26, 3.0, usbOnly, ""},
      {usb("compact-names"), macOs26, 3.1, usbOnly, ""},
      {usb("larger-first"), macOs26, 3.1, usbOnly, ""},
      // "USB310Bus" is 3.10; the second report of the root is not read.
      {usb("second-report-and-three-digits"), macOs26, 3.1, usbOnly, ""},
      // A version that fails the check is a version all the same.
      {usb("one-digit"), macOs26, 1.0, usbOnly, ""},
      {usb("trailing-full-stop"), macOs26, 2.0, usbOnly, ""},
      {{busy}, macOs26, 3.1, usbOnly, ""},
      // macOS 26 refuses the USB data type, or reports no bus for it.
      {usb("", 1), macOs26, 3.1, both, errorStatus},
      {usb("empty-items"), macOs26, 3.1, both, ""},
      {usb("other-buses"), macOs26, 3.1, both, ""},
      {usb("entries-without-names"), macOs26, 3.1, both, ""},
      {usb("no-items"), macOs26, 3.1, both, ""},
      {usb("items-not-array"), macOs26, 3.1, both, ""},
      {usb("root-dict"), macOs26, 3.1, both, ""},
      {usb("root-empty-array"), macOs26, 3.1, both, ""},
      {usb("truncated"), usb("empty-items"), 0, both,
       malformed + "offset 445: Start-end tags mismatch\n"},
      {usb("two-buses", 1), {macOs26.report, 1}, 0, both, errorStatus + errorStatus},
      {usb(""), usb("", 1), 0, both,
       malformed + "offset 0: No document element found\n" + errorStatus},
  };
  testing::TemporaryDirectory directory;
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(probe(profiler(directory, c.usb, c.host)), std::pair(c.version, c.log));
    EXPECT_EQ(readFile(directory.path() / "calls"), c.calls);
  }
  EXPECT_EQ(probe(directory.string() + "/missing"), std::pair(0.0, std::string()));
}

}  // namespace
}  // namespace tarq
