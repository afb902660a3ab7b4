#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "support/TemporaryDirectory.h"
#include "system/Diagnostics.h"
#include "system/UsbProbe.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;

// A stand-in profiler: a shell script with the given body, made executable.
std::string profilerScript(const testing::TemporaryDirectory& directory, std::string_view body) {
  directory.write("system_profiler", "#!/bin/sh\n" + std::string(body) + "\n");
  const std::string path = directory.string() + "/system_profiler";
  ::chmod(path.c_str(), 0755);
  return path;
}

std::string fixture(std::string_view name) {
  return std::string(TARQ_TEST_DATA_DIR) + "/usb/" + std::string(name);
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
    const auto [version, log] =
        probe(profilerScript(directory, "cat '" + fixture(c.fixture) + "'"));
    EXPECT_EQ(version, c.version);
    EXPECT_EQ(log, c.log);
  }
}

TEST(UsbProbeTest, FailingOrMissingProfilerGivesNoVersion) {
  const struct {
    std::string_view script;  // empty: no profiler at all
    std::string_view log;
  } cases[] = {
      {"echo '<plist><array/></plist>'; exit 1", "system_profiler returned error status\n"},
      {"kill -9 $$", "system_profiler returned error status\n"},
      {"", ""},
      {"exit 0",
       "Failed to parse system_profiler results. Malformed XML at byte offset 0: No "
       "document element found\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    testing::TemporaryDirectory directory;
    const std::string path = c.script.empty() ? directory.string() + "/system_profiler"
                                              : profilerScript(directory, c.script);
    EXPECT_EQ(probe(path), std::make_pair(0.0, std::string(c.log)));
  }
}

TEST(UsbProbeTest, AsksForTheXmlReportOfTheDataType) {
  testing::TemporaryDirectory directory;
  const std::string path =
      profilerScript(directory, "printf '%s|' \"$@\" >\"$(dirname \"$0\")/arguments\"\ncat '" +
                                    fixture("usb-two-buses.plist") + "'");
  const auto report = svu::systemProfilerData("SPUSBDataType", path);
  ASSERT_TRUE(report);
  EXPECT_TRUE(report->root().is(PropertyListKind::array));
  std::ifstream arguments(directory.path() / "arguments");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(arguments), {}), "-xml|SPUSBDataType|");
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
  testing::TemporaryDirectory directory;
  directory.write("report.plist", "<plist><array><dict><key>_items</key><array>" + items +
                                      "</array></dict></array></plist>");
  ASSERT_GT(std::filesystem::file_size(directory.path() / "report.plist"), 4u << 20);
  const std::string path = profilerScript(directory, "cat \"$(dirname \"$0\")/report.plist\"");
  EXPECT_EQ(probe(path), std::make_pair(3.1, std::string()));
}

}  // namespace
}  // namespace tarq
