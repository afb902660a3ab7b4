#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <thread>

#include "support/FakeTool.h"
#include "support/ProcessCensus.h"
#include "support/Tables.h"
#include "system/Diagnostics.h"
#include "system/probes/UsbProbe.h"
#include "system/process/RunCancellation.h"

namespace tarq::SystemValuesUtility {
namespace {

namespace svu = SystemValuesUtility;
using testing::readFile;

// How a stand-in profiler answers one data type: its report and exit status, or, with "waits" for
// a status, nothing until it is stopped, after it has said so in "<type>.started".
struct Answer {
  std::string report;
  std::string status = "0";
};
const Answer kWaits{"", "waits"};

// A stand-in profiler answering the USB data type with `usb` and the USB host data type with
// `host`, each in XML, and refusing every other question.
std::string profiler(const testing::TemporaryDirectory& directory, const Answer& usb,
                     const Answer& host) {
  for (const auto& [type, answer] : {std::pair{"usb", usb}, std::pair{"host", host}}) {
    directory.write(std::string(type) + ".xml", answer.report);
    directory.write(std::string(type) + ".status", answer.status);
  }
  return testing::writeScript(directory, "system_profiler", readFile("usb/stand-in-profiler.sh"));
}

// highestUSBVersion with `profilerPath`, and what it logged. A profiler that waits does so for two
// minutes and is given ten: only being stopped ends it within the test's time.
std::pair<double, std::string> probe(const std::string& profilerPath) {
  std::ostringstream log;
  setSystemLogEcho(&log);
  const double version =
      svu::highestUSBVersion(profilerPath, {.maximumSleeps = 600, .maximumOutputBytes = 64 << 20});
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

// The highest version of the buses the USB report names; the host report's only when that names
// none. Each failure of a report that is read is logged, once where both reports fail alike; a
// profiler that cannot be started gives no version and logs nothing.
TEST(UsbProbeTest, HighestBusVersionFromTheHostReportOnlyWhenTheUsbReportNamesNone) {
  const auto usb = [](std::string name, std::string status = "0") {
    return Answer{name.empty() ? "" : readFile("usb/usb-" + name + ".plist"), status};
  };
  // A busy machine: thousands of buses with a hub each, over 4 MiB, the fastest bus last.
  std::string busy = readFile("usb/usb-two-buses.plist"), buses;
  const size_t first = busy.find("\n\t\t\t<dict>");
  const std::string bus = busy.substr(first, busy.find("\n\t\t\t<dict>", first + 1) - first);
  for (int copy = 0; copy < 15000; ++copy) {
    buses += bus;
  }
  busy.insert(first, buses);
  ASSERT_GT(busy.size(), 4u << 20);
  const Answer macOs26{readFile("usb/usb-host-macos26.plist")};
  const std::string errorStatus = "system_profiler returned error status\n";
  const std::string malformed = "Failed to parse system_profiler results. Malformed XML at byte ";
  const struct {
    const char* name;
    Answer usb, host;
    double version;
    std::string log;
  } cases[] = {
      {"two buses", usb("two-buses"), macOs26, 3.0, ""},
      // The host report, not needed, is ended rather than waited for.
      {"host report not waited for", usb("two-buses"), kWaits, 3.0, ""},
      {"compact names", usb("compact-names"), macOs26, 3.1, ""},
      {"larger first", usb("larger-first"), macOs26, 3.1, ""},
      // "USB310Bus" is 3.10; the second report of the root is not read.
      {"three digits", usb("second-report-and-three-digits"), macOs26, 3.1, ""},
      // A version that fails the check is a version all the same.
      {"one digit", usb("one-digit"), macOs26, 1.0, ""},
      {"trailing full stop", usb("trailing-full-stop"), macOs26, 2.0, ""},
      {"busy machine", {busy}, macOs26, 3.0, ""},
      // macOS 26 refuses the USB data type, or reports no bus for it.
      {"USB report refused", usb("", "1"), macOs26, 3.1, errorStatus},
      {"empty items", usb("empty-items"), macOs26, 3.1, ""},
      {"other buses", usb("other-buses"), macOs26, 3.1, ""},
      {"entries without names", usb("entries-without-names"), macOs26, 3.1, ""},
      {"no items", usb("no-items"), macOs26, 3.1, ""},
      {"items not an array", usb("items-not-array"), macOs26, 3.1, ""},
      {"root a dictionary", usb("root-dict"), macOs26, 3.1, ""},
      {"root an empty array", usb("root-empty-array"), macOs26, 3.1, ""},
      {"truncated, host names none", usb("truncated"), usb("empty-items"), 0,
       malformed + "offset 445: Start-end tags mismatch\n"},
      {"both refused", usb("two-buses", "1"), {macOs26.report, "1"}, 0, errorStatus},
      {"both truncated", usb("truncated"), usb("truncated"), 0,
       malformed + "offset 445: Start-end tags mismatch\n"},
      {"empty, then refused", usb(""), usb("", "1"), 0,
       malformed + "offset 0: No document element found\n" + errorStatus},
  };
  testing::TemporaryDirectory directory;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(probe(profiler(directory, c.usb, c.host)), std::pair(c.version, c.log));
  }
  EXPECT_EQ(probe(directory.string() + "/missing"), std::pair(0.0, std::string()));
}

// A stop of the pass ends both reports, while they run side by side; it is no failure of the
// profiler's to log, and no process is left.
TEST(UsbProbeTest, AStopEndsBothReports) {
  testing::TemporaryDirectory directory;
  const std::string path = profiler(directory, kWaits, kWaits);
  svu::RunCancellation pass;
  std::thread stopper([&] {
    while (!std::filesystem::exists(directory.path() / "usb.started") ||
           !std::filesystem::exists(directory.path() / "host.started")) {
      ::usleep(1000);
    }
    pass.cancel();
  });
  std::pair<double, std::string> stopped;
  {
    const svu::CancellationScope scope(pass);
    stopped = probe(path);
  }
  stopper.join();
  EXPECT_EQ(stopped, std::pair(0.0, std::string()));
  EXPECT_EQ(testing::ProcessCensus::take().childProcesses, 0);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
