#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using testing::FakeMachineFacts;
using testing::runCheck;

constexpr int64_t GiB = int64_t{1} << 30;
const std::string kNoRoom = "Application cannot be installed without 5 GB of free disk space.";

TEST(DiskSpaceCheckTest, NeedsFiveGigabytesFreeJudgedOnTheExactCount) {
  const struct {
    int64_t totalBytes;
    int64_t freeBytes;
    std::string_view status;
    std::string sizes;
  } cases[] = {
      {500 * GiB, 120 * GiB + 7 * GiB / 10, "Pass",
       "Total Disk Space: 500GB Total Free Space: 120GB"},
      {500 * GiB, 5 * GiB, "Pass", "Total Disk Space: 500GB Total Free Space: 5GB"},
      {500 * GiB, 5 * GiB - 1, "Fail", "Total Disk Space: 500GB Total Free Space: 4GB"},
      {500 * GiB, 5 * GiB + 1, "Pass", "Total Disk Space: 500GB Total Free Space: 5GB"},
      {0, 0, "Fail", "Total Disk Space: 0GB Total Free Space: 0GB"},  // unreadable volume
      {INT64_MAX, INT64_MAX, "Pass",
       "Total Disk Space: 8589934591GB Total Free Space: 8589934591GB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sizes);
    FakeMachineFacts facts;
    facts.totalBytes = c.totalBytes;
    facts.freeBytes = c.freeBytes;
    const auto report = runCheck(facts, &ValidationRunner::checkDiskSpace);
    const std::vector<std::string> lines = c.status == "Pass"
                                               ? std::vector<std::string>{c.sizes}
                                               : std::vector<std::string>{c.sizes, kNoRoom};
    EXPECT_EQ(report.lines, lines);
    EXPECT_EQ(report.rows,
              (std::vector<ResultRow>{{"Primary Hard Drive", std::string(c.status), c.sizes}}));
  }
}

}  // namespace
}  // namespace tarq
