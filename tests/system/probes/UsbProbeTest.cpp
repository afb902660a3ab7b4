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

// A data type's report and exit status; "waits" answers nothing until stopped, once it has
// written "<type>.started".
struct Answer {
  std::string report;
  std::string status = "0";
};
const Answer kWaits{"", "waits"};

// A stand-in profiler answering the USB data type with `usb`, the host data type with `host`.
std::string profiler(const testing::TemporaryDirectory& directory, const Answer& usb,
                     const Answer& host) {
  for (const auto& [type, answer] : {std::pair{"usb", usb}, std::pair{"host", host}}) {
    directory.write(std::string(type) + ".xml", answer.report);
    directory.write(std::string(type) + ".status", answer.status);
  }
  return testing::writeScript(directory, "system_profiler", readFile("usb/stand-in-profiler.sh"));
}

// The version and what was logged; a waiting profiler (two minutes, given ten) ends only if
// stopped.
std::pair<double, std::string> probe(const std::string& profilerPath) {
  std::ostringstream log;
  setSystemLogEcho(&log);
  const double version =
      svu::highestUSBVersion(profilerPath, {.maximumSleeps = 600, .maximumOutputBytes = 64 << 20});
  setSystemLogEcho(&std::cerr);
  return {version, log.str()};
}

// The names of the fixture reports below are not repeated here.
TEST(UsbProbeTest, VersionTextIsTheFirstRunOfDigitsWithOneFullStop) {
  testing::expectEach<std::string_view, std::string_view>(svu::versionText,
                                                          {{"USB 3.1 Bus 2", "3.1"},
                                                           {"USB 2.0.1", "2.0"},
                                                           {"USB .5 Bus", "5"},
                                                           {"USB 3..1", "3."},
                                                           {"USB \xC3\xA9 3.1\xC3\xA9", "3.1"},
                                                           {"", ""},
                                                           {"USB 2.0 Bus.", "2.0"}});
}

// The host report counts only when the USB report names no bus; a failure both reports share is
// logged once, and a profiler that cannot be started logs nothing.
TEST(UsbProbeTest, HighestBusVersionFromTheHostReportOnlyWhenTheUsbReportNamesNone) {
  const auto usb = [](std::string name, std::string status = "0") {
    return Answer{name.empty() ? "" : readFile("usb/usb-" + name + ".plist"), status};
  };
  // A busy machine: thousands of buses, over 4 MiB, the fastest last.
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
  const std::string truncated = malformed + "offset 445: Start-end tags mismatch\n";
  const struct {
    const char* name;
    Answer usb, host;
    double version;
    std::string log;
  } cases[] = {
      {"two buses, the host report not waited for", usb("two-buses"), kWaits, 3.0, ""},
      {"compact names", usb("compact-names"), macOs26, 3.1, ""},
      {"larger first", usb("larger-first"), macOs26, 3.1, ""},
      // "USB310Bus" is 3.10; the root's second report is not read.
      {"three digits", usb("second-report-and-three-digits"), macOs26, 3.1, ""},
      {"one digit", usb("one-digit"), macOs26, 1.0, ""},
      {"trailing full stop", usb("trailing-full-stop"), macOs26, 2.0, ""},
      {"busy machine", {busy}, macOs26, 3.0, ""},
      // macOS 26 refuses the USB data type, or reports no bus for it.
      {"USB report refused", usb("", "1"), macOs26, 3.1, errorStatus},
      {"empty items", usb("empty-items"), macOs26, 3.1, ""},
      {"other buses", usb("other-buses"), macOs26, 3.1, ""},
      {"entries without names", usb("entries-without-names"), macOs26, 3.1, ""},
      {"items not an array", usb("items-not-array"), macOs26, 3.1, ""},
      {"root a dictionary", usb("root-dict"), macOs26, 3.1, ""},
      {"root an empty array", usb("root-empty-array"), macOs26, 3.1, ""},
      {"truncated, host names none", usb("truncated"), usb("empty-items"), 0, truncated},
      {"both refused", usb("two-buses", "1"), {macOs26.report, "1"}, 0, errorStatus},
      {"both truncated", usb("truncated"), usb("truncated"), 0, truncated},
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

// A stop ends both running reports, logs no failure and leaves no process.
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
  const svu::CancellationScope scope(pass);
  EXPECT_EQ(probe(path), std::pair(0.0, std::string()));
  stopper.join();
  EXPECT_EQ(testing::ProcessCensus::take().childProcesses, 0);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
