#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

TEST(UsbVersionCheckTest, PassesFromUsbTwoOnAndWarnsWhenUndetermined) {
  const struct {
    double version;
    std::string_view status;
    std::string_view line;
  } cases[] = {
      {3.1, "Pass", "Highest Available USB Version: 3.1"},
      {3.0, "Pass", "Highest Available USB Version: 3.0"},
      {3.10, "Pass", "Highest Available USB Version: 3.1"},
      {2.0, "Pass", "Highest Available USB Version: 2.0"},  // the bound is inclusive
      {1.9999999999999998, "Fail", "Highest Available USB Version: 1.9999999999999998"},
      {1.1, "Fail", "Highest Available USB Version: 1.1"},
      {1.0, "Fail", "Highest Available USB Version: 1.0"},
      {30.0, "Pass", "Highest Available USB Version: 30.0"},
      {10.0, "Pass", "Highest Available USB Version: 10.0"},
      // A bus name with a long run of digits: still a plain decimal number, never an exponent.
      {1e17, "Pass", "Highest Available USB Version: 100000000000000000.0"},
      {0.0, "Warn", "Unable to determine USB versions available on device"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    testing::FakeMachineFacts facts;
    facts.usbVersion = c.version;
    const auto report = testing::runCheck(facts, &ValidationRunner::checkUSBVersion);
    const std::string line(c.line);
    EXPECT_EQ(report.lines, std::vector<std::string>{line});
    EXPECT_EQ(report.rows,
              (std::vector<ResultRow>{{"USB 2.0/3.0/3.1", std::string(c.status), line}}));
  }
}

}  // namespace
}  // namespace tarq
