#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/FakeTool.h"
#include "system/Diagnostics.h"
#include "system/probes/UsbProbe.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;

// A stand-in profiler that prints `report` only when asked for the XML report of USB buses.
std::string profiler(const testing::TemporaryDirectory& directory, std::string_view report,
                     int exitStatus = 0) {
  return testing::writeFakeTool(directory, "system_profiler", "-xml SPUSBDataType", report,
                                exitStatus);
}

std::string fixture(std::string_view name) {
  std::ifstream file(std::string(TARQ_TEST_DATA_DIR) + "/usb/" + std::string(name));
  return std::string(std::istreambuf_iterator<char>(file), {});
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

TEST(UsbProbeTest, FailingOrMissingProfilerGivesNoVersion) {
  testing::TemporaryDirectory directory;
  const std::string path = directory.string() + "/system_profiler";
  EXPECT_EQ(probe(path), std::make_pair(0.0, std::string()));
  const std::string errorStatus = "system_profiler returned error status\n";
  profiler(directory, fixture("usb-two-buses.plist"), 1);
  EXPECT_EQ(probe(path), std::make_pair(0.0, errorStatus));
  testing::writeScript(directory, "system_profiler", "kill -9 $$\n");
  EXPECT_EQ(probe(path), std::make_pair(0.0, errorStatus));
  profiler(directory, "");
  EXPECT_EQ(probe(path), std::make_pair(0.0, std::string("Failed to parse system_profiler results. "
                                                         "Malformed XML at byte offset 0: No "
                                                         "document element found\n")));
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
