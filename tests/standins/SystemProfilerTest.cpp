// The Linux stand-in profiler: its pieces and the built tool on fixture sysfs trees.
#include <gtest/gtest.h>

#include <cstdlib>

#include "SystemProfilerReport.h"
#include "support/Tables.h"
#include "support/TemporaryDirectory.h"
#include "system/process/ToolRun.h"
#include "system/text/PropertyList.h"

namespace tarq {
namespace {

using namespace SystemValuesUtility;

// Runs the built profiler with `arguments` on the sysfs tree `root` (a path, or the name of one
// under tests/data/sysfs), or the shell command `shell` given the profiler as "$0".
ToolRun runProfiler(const std::string& root, const std::vector<std::string>& arguments,
                    const std::string& shell = "") {
  const std::string sysfs = root.starts_with('/') ? root : TARQ_TEST_DATA_DIR "/sysfs/" + root;
  ::setenv("TARQ_SYSFS_ROOT", sysfs.c_str(), 1);
  ToolRun run = shell.empty() ? runTool(TARQ_SYSTEM_PROFILER_PATH, arguments)
                              : runTool("/bin/sh", {"-c", shell, TARQ_SYSTEM_PROFILER_PATH});
  ::unsetenv("TARQ_SYSFS_ROOT");
  return run;
}

TEST(SystemProfilerTest, NamesABusAfterItsRootHubVersionInEscapedXml) {
  testing::expectEach<std::string_view, std::string_view>(
      [](std::string_view versionFile) { return standin::usbBusName(versionFile); },
      {{"3.20", "USB 3.2 Bus"},
       {"18446744073709551615.00", "USB 18446744073709551615.0 Bus"},
       {"18446744073709551616.00", "USB Bus"},
       {"", "USB Bus"},
       {" 3.1\n", "USB Bus"},
       {" 3.1x\n", "USB Bus"},
       {" .10\n", "USB Bus"},
       {"3.10.0", "USB Bus"}});
  testing::expectEach<std::string_view, std::string_view>(
      [](std::string_view text) {
        std::string written;
        standin::writeXmlText(written, text);
        return written;
      },
      {{"caf\xC3\xA9\t\"'", "caf\xC3\xA9\t\"'"},
       {std::string_view("a\x01\0b", 4), "a\uFFFD\uFFFDb"},
       {"\xFF\xC3", "\uFFFD\uFFFD"},
       {"\xEF\xBF\xBE", "\uFFFD"}});
}

// Both USB data types, the one macOS 26 dropped and its successor, name the same buses.
TEST(SystemProfilerTest, ReportsTheBusesOfASysfsTreeAndFailsOnAnythingElse) {
  // "no-usb" has no tree at all.
  for (const std::string name : {"two-buses", "unreadable-versions", "no-usb"}) {
    for (const std::string dataType : {"SPUSBDataType", "SPUSBHostDataType"}) {
      SCOPED_TRACE(name + " " + dataType);
      const ToolRun run = runProfiler(name, {"-xml", dataType});
      // The fixture is the USB data type's report; the host's differs in that name only.
      std::string expected = testing::readFile("sysfs/" + name + ".xml");
      expected.replace(expected.find("SPUSBDataType"), std::string("SPUSBDataType").size(),
                       dataType);
      EXPECT_EQ(run.exitStatus, 0);
      EXPECT_EQ(run.output, expected);
    }
  }
  const std::vector<std::string> questions[] = {{},
                                                {"SPUSBDataType"},
                                                {"-xml"},
                                                {"-xml", "SPDisplaysDataType"},
                                                {"-xml", "SPUSBDataType", "-detailLevel", "full"},
                                                {"-json", "SPUSBDataType"},
                                                {"-xml", "SPUSBHOSTDataType"}};
  for (const auto& arguments : questions) {
    EXPECT_EQ(runProfiler("two-buses", arguments).exitStatus, 1)
        << ::testing::PrintToString(arguments);
  }
  // A report that cannot be written is a failure, not a silent empty answer.
  EXPECT_EQ(runProfiler("two-buses", {}, "exec \"$0\" -xml SPUSBDataType >/dev/full").exitStatus,
            1);
}

// Seventy shuffled buses whose texts fill the file limit (bus 7's a byte over), among devices
// with long names that take several reads to list; what the stand-in keeps is on the heap.
TEST(SystemProfilerTest, ReportsManyBusesInNumberOrderWithTextsUpToTheFileLimit) {
  testing::TemporaryDirectory sysfs;
  const auto productText = [](int bus) {
    const std::string number = std::to_string(bus);
    return number + std::string(4096 - number.size() + (bus == 7 ? 1 : 0), 'x');
  };
  for (int made = 1; made <= 70; ++made) {
    const int bus = made * 37 % 71;  // each of 1 to 70 once
    const std::string hub = "bus/usb/devices/usb" + std::to_string(bus);
    sysfs.write(hub + "/version", bus % 2 == 0 ? " 3.10\n" : " 2.00\n");
    sysfs.write(hub + "/product", productText(bus));
  }
  for (int device = 0; device < 100; ++device) {
    sysfs.write("bus/usb/devices/" + std::to_string(device) + std::string(200, '-') + "/version",
                " 3.20\n");
  }
  const ToolRun run = runProfiler(sysfs.string(), {"-xml", "SPUSBDataType"});
  ASSERT_EQ(run.exitStatus, 0);
  const PropertyListParse parse = PropertyList::parse(run.output);
  ASSERT_TRUE(parse.document) << parse.errorDescription;
  const auto buses = parse.document->root().elements().at(0).find("_items").elements();
  ASSERT_EQ(buses.size(), 70u);
  for (int bus = 1; bus <= 70; ++bus) {
    const PropertyListValue entry = buses[static_cast<std::size_t>(bus - 1)];
    EXPECT_EQ(entry.find("_name").text(), bus % 2 == 0 ? "USB 3.1 Bus" : "USB 2.0 Bus");
    EXPECT_EQ(entry.find("host_controller").text(), bus == 7 ? "" : productText(bus)) << bus;
  }
  const ToolRun smallStack =
      runProfiler(sysfs.string(), {}, "ulimit -s 64 && exec \"$0\" -xml SPUSBDataType");
  EXPECT_EQ(smallStack.exitStatus, 0);
  EXPECT_EQ(smallStack.output, run.output);

  // A root longer than any path the kernel takes.
  const ToolRun tooLong =
      runProfiler(std::string(5000, '/') + sysfs.string(), {"-xml", "SPUSBDataType"});
  EXPECT_EQ(tooLong.exitStatus, 0);
  EXPECT_EQ(tooLong.output, testing::readFile("sysfs/no-usb.xml"));
}

}  // namespace
}  // namespace tarq
