// The Linux stand-in profiler: its pieces and the built tool on fixture sysfs trees.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "SystemProfilerReport.h"
#include "support/Tables.h"
#include "support/TemporaryDirectory.h"
#include "system/process/ToolRun.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;

std::string sysfsFixture(std::string_view name) {
  return std::string(TARQ_TEST_DATA_DIR) + "/sysfs/" + std::string(name);
}

// Runs the built profiler with `arguments` on the sysfs tree at `sysfsRoot`.
ToolRun runProfiler(const std::string& sysfsRoot, const std::vector<std::string>& arguments) {
  ::setenv("TARQ_SYSFS_ROOT", sysfsRoot.c_str(), 1);
  ToolRun run = svu::runTool(TARQ_SYSTEM_PROFILER_PATH, arguments);
  ::unsetenv("TARQ_SYSFS_ROOT");
  return run;
}

std::string report(std::string_view dataType, std::string_view items) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n<array>\n\t<dict>\n"
         "\t\t<key>_dataType</key>\n\t\t<string>" +
         std::string(dataType) +
         "</string>\n"
         "\t\t<key>_items</key>\n" +
         std::string(items) +
         "\t\t<key>_parentDataType</key>\n\t\t<string>SPHardwareDataType</string>\n"
         "\t</dict>\n</array>\n</plist>\n";
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

// One bus of a report: its name, and its host controller where the tree names one.
std::string bus(std::string_view name, std::string_view controller = "") {
  return "\t\t\t<dict>\n\t\t\t\t<key>_name</key>\n\t\t\t\t<string>" + std::string(name) +
         "</string>\n" +
         (controller.empty() ? ""
                             : "\t\t\t\t<key>host_controller</key>\n\t\t\t\t<string>" +
                                   std::string(controller) + "</string>\n") +
         "\t\t\t</dict>\n";
}

// Both USB data types name the same buses: the report macOS 26 dropped, and its successor. Every
// other question is refused.
TEST(SystemProfilerTest, ReportsTheBusesOfASysfsTreeAndRefusesEveryOtherQuestion) {
  testing::TemporaryDirectory empty;
  const struct {
    std::string root, items;
  } cases[] = {
      {sysfsFixture("two-buses"),
       "\t\t<array>\n" + bus("USB 2.0 Bus", "EHCI &amp; &lt;OHCI&gt; Host Controller") +
           bus("USB 3.1 Bus", "xHCI Host Controller") + "\t\t</array>\n"},
      {sysfsFixture("unreadable-versions"), "\t\t<array>\n" + bus("USB Bus") +
                                                bus("USB Bus", "xHCI Host Controller") +
                                                "\t\t</array>\n"},
      // A machine without USB has no /sys/bus/usb at all.
      {empty.string(), "\t\t<array/>\n"},
  };
  for (const auto& c : cases) {
    for (const std::string dataType : {"SPUSBDataType", "SPUSBHostDataType"}) {
      SCOPED_TRACE(c.root + " " + dataType);
      const ToolRun run = runProfiler(c.root, {"-xml", dataType});
      EXPECT_TRUE(run.launched);
      EXPECT_EQ(run.exitStatus, 0);
      EXPECT_EQ(run.output, report(dataType, c.items));
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
    EXPECT_EQ(runProfiler(cases[0].root, arguments).exitStatus, 1)
        << ::testing::PrintToString(arguments);
  }
}

}  // namespace
}  // namespace tarq
