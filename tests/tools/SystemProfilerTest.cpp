// The Linux stand-in profiler: its pieces and the built tool on fixture sysfs trees.
#include <gtest/gtest.h>

#include <cstdlib>

#include "SystemProfilerReport.h"
#include "support/Tables.h"
#include "support/TemporaryDirectory.h"
#include "system/process/ToolRun.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;

// Runs the built profiler with `arguments` on the fixture sysfs tree `tree`.
ToolRun runProfiler(const std::string& tree, const std::vector<std::string>& arguments) {
  ::setenv("TARQ_SYSFS_ROOT", (TARQ_TEST_DATA_DIR "/sysfs/" + tree).c_str(), 1);
  ToolRun run = svu::runTool(TARQ_SYSTEM_PROFILER_PATH, arguments);
  ::unsetenv("TARQ_SYSFS_ROOT");
  return run;
}

TEST(SystemProfilerTest, NamesABusAfterItsRootHubVersionInEscapedXml) {
  testing::expectEach<std::string_view, std::string_view>(standin::usbBusName,
                                                          {{" 3.10\n", "USB 3.1 Bus"},
                                                           {" 2.00\n", "USB 2.0 Bus"},
                                                           {"3.20", "USB 3.2 Bus"},
                                                           {"", "USB Bus"},
                                                           {"garbled\n", "USB Bus"},
                                                           {" 3.1\n", "USB Bus"},
                                                           {" 3.1x\n", "USB Bus"},
                                                           {" .10\n", "USB Bus"},
                                                           {"3.10.0", "USB Bus"}});
  testing::expectEach<std::string_view, std::string_view>(
      standin::xmlText, {{"EHCI & <OHCI>", "EHCI &amp; &lt;OHCI&gt;"},
                         {"caf\xC3\xA9\t\"'", "caf\xC3\xA9\t\"'"},
                         {std::string_view("a\x01\0b", 4), "a\uFFFD\uFFFDb"},
                         {"\xFF\xC3", "\uFFFD\uFFFD"},
                         {"\xEF\xBF\xBE", "\uFFFD"}});
}

// Both USB data types name the same buses: the report macOS 26 dropped, and its successor. Every
// other question is refused.
TEST(SystemProfilerTest, ReportsTheBusesOfASysfsTreeAndRefusesEveryOtherQuestion) {
  // A machine without USB has no bus/usb in its sysfs tree (here, no tree at all).
  for (const std::string name : {"two-buses", "unreadable-versions", "no-usb"}) {
    for (const std::string dataType : {"SPUSBDataType", "SPUSBHostDataType"}) {
      SCOPED_TRACE(name + " " + dataType);
      const ToolRun run = runProfiler(name, {"-xml", dataType});
      // The fixture is the USB data type's report; the host's differs in that name only.
      std::string expected = testing::readFile("sysfs/" + name + ".xml");
      expected.replace(expected.find("SPUSBDataType"), std::string("SPUSBDataType").size(),
                       dataType);
      EXPECT_TRUE(run.launched);
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
                                                {"-xml", "SPUSBHostDataType", "SPUSBDataType"},
                                                {"-xml", "SPUSBHOSTDataType"}};
  for (const auto& arguments : questions) {
    EXPECT_EQ(runProfiler("two-buses", arguments).exitStatus, 1)
        << ::testing::PrintToString(arguments);
  }
}

}  // namespace
}  // namespace tarq
