#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/FakeTool.h"
#include "system/Diagnostics.h"
#include "system/probes/UsbProbe.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;

// How a stand-in profiler answers one data type.
struct Answer {
  std::string report;
  int exitStatus = 0;
};

// A stand-in profiler answering the USB and the USB host data types, each in XML, and refusing
// every other question. It writes each question it is asked as a line into "calls".
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

std::string fixture(std::string_view name) {
  std::ifstream file(std::string(TARQ_TEST_DATA_DIR) + "/usb/" + std::string(name));
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// A stand-in profiler answering the USB data type with `report` (and the host data type with a
// report of no buses).
std::string profiler(const testing::TemporaryDirectory& directory, std::string_view report) {
  return profiler(directory, {std::string(report)}, {fixture("usb-empty-items.plist")});
}

// highestUSBVersion with `profilerPath`, and what it logged.
std::pair<double, std::string> probe(
    const std::string& profilerPath,
    const svu::ToolRunLimits& limits = svu::kSystemProfilerLimits) {
  std::ostringstream log;
  setSystemLogEcho(&log);
  const double version = svu::highestUSBVersion(profilerPath, limits);
  setSystemLogEcho(&std::cerr);
  return {version, log.str()};
}

TEST(UsbProbeTest, VersionTextIsTheFirstRunOfDigitsWithOneFullStop) {
  const struct {
    std::string_view name;
    std::string_view version;
  } cases[] = {
      {"USB 3.0 Bus", "3.0"},
      {"USB30Bus", "30"},
      {"USB 3.1 Bus 2", "3.1"},
      {"USB 2.0.1", "2.0"},
      {"USB Bus", ""},
      {"USB .5 Bus", "5"},
      {"USB 3. Bus", "3."},
      {"USB 3..1", "3."},
      {"USB \xC3\xA9 3.1\xC3\xA9", "3.1"},
      {"", ""},
      {"USB 31 Bus 2", "31"},
      {"USB 2.0 Bus.", "2.0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(svu::versionText(c.name), c.version) << c.name;
  }
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
    const auto [version, log] = probe(profiler(directory, fixture(c.fixture)));
    EXPECT_EQ(version, c.version);
    EXPECT_EQ(log, c.log);
  }
}

TEST(UsbProbeTest, FailingMissingOrHangingProfilerGivesNoVersion) {
  testing::TemporaryDirectory directory;
  const std::string path = directory.string() + "/system_profiler";
  const std::string errorStatus = "system_profiler returned error status\n";
  // Each failure is met twice: the USB report, then the host report.
  EXPECT_EQ(probe(path), std::make_pair(0.0, std::string()));
  profiler(directory, {fixture("usb-two-buses.plist"), 1}, {fixture("usb-host-macos26.plist"), 1});
  EXPECT_EQ(probe(path), std::make_pair(0.0, errorStatus + errorStatus));
  testing::writeScript(directory, "system_profiler", "kill -9 $$\n");
  EXPECT_EQ(probe(path), std::make_pair(0.0, errorStatus + errorStatus));
  // A profiler that never answers is stopped at the bound, which counts as an error status.
  testing::writeScript(directory, "system_profiler", "exec sleep 60\n");
  const svu::ToolRunLimits oneShortSleep{.maximumSleeps = 1,
                                         .sleepLength = std::chrono::milliseconds(200)};
  EXPECT_EQ(probe(path, oneShortSleep), std::make_pair(0.0, errorStatus + errorStatus));
}

TEST(UsbProbeTest, HostReportIsAskedOnlyWhenTheUsbReportNamesNoVersion) {
  const Answer macOs26{fixture("usb-host-macos26.plist")};
  const std::string usbOnly = "-xml SPUSBDataType\n";
  const std::string both = "-xml SPUSBDataType\n-xml SPUSBHostDataType\n";
  const struct {
    Answer usb;
    Answer host;
    double version;
    std::string calls;
    std::string log;
  } cases[] = {
      {{fixture("usb-two-buses.plist")}, macOs26, 3.0, usbOnly, ""},
      // A version that fails the check is a version all the same.
      {{fixture("usb-one-digit.plist")}, macOs26, 1.0, usbOnly, ""},
      // macOS 26 refuses the USB data type, or reports no bus for it.
      {{"", 1}, macOs26, 3.1, both, "system_profiler returned error status\n"},
      {{fixture("usb-empty-items.plist")}, macOs26, 3.1, both, ""},
      {{fixture("usb-other-buses.plist")}, macOs26, 3.1, both, ""},
      {{""},
       {"", 1},
       0,
       both,
       "Failed to parse system_profiler results. Malformed XML at byte offset 0: No document "
       "element found\nsystem_profiler returned error status\n"},
  };
  testing::TemporaryDirectory directory;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.usb.report.substr(0, 80) + std::to_string(c.usb.exitStatus));
    const std::string path = profiler(directory, c.usb, c.host);
    EXPECT_EQ(probe(path), std::make_pair(c.version, c.log));
    std::ifstream calls(directory.path() / "calls");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(calls), {}), c.calls);
  }
}

TEST(UsbProbeTest, ReadsAMultiMegabyteReport) {
  // A busy machine: many buses, each with a tree of devices, the fastest bus last.
  std::string items;
  for (int bus = 0; bus < 500; ++bus) {
    items += "<dict><key>_items</key><array>";
    for (int device = 0; device < 40; ++device) {
      items +=
          "\n\t\t\t\t\t<dict>\n\t\t\t\t\t\t<key>_name</key>\n\t\t\t\t\t\t<string>USB 9.9 Hub "
          "&amp; Card Reader</string>\n\t\t\t\t\t\t<key>bcd_device</key>\n\t\t\t\t\t\t<string>"
          "1.00</string>\n\t\t\t\t\t\t<key>location_id</key>\n\t\t\t\t\t\t<string>0x14100000 / "
          "1</string>\n\t\t\t\t\t</dict>";
    }
    items += "</array><key>_name</key><string>USB 2.0 Bus</string></dict>\n";
  }
  items += "<dict><key>_name</key><string>USB 3.1 Bus</string></dict>";
  const std::string report =
      "<plist><array><dict><key>_items</key><array>" + items + "</array></dict></array></plist>";
  ASSERT_GT(report.size(), 4u << 20);
  testing::TemporaryDirectory directory;
  EXPECT_EQ(probe(profiler(directory, report)), std::make_pair(3.1, std::string()));
}

}  // namespace
}  // namespace tarq
