#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using testing::FakeMachineFacts;
using testing::runCheck;

constexpr uint64_t GiB = uint64_t{1} << 30;
constexpr uint64_t MiB = uint64_t{1} << 20;

TEST(MemoryCheckTest, PassesFromFourGigabytesOnJudgedOnTheExactSize) {
  const struct {
    uint64_t bytes;
    std::string_view status;
    std::string_view sizeText;
  } cases[] = {
      {4 * GiB - 1, "Fail", "4.0 GigaBytes"},  // rounds to 4.0, still too little
      {4 * GiB, "Pass", "4.0 GigaBytes"},
      {4 * GiB + 1, "Pass", "4.0 GigaBytes"},
      {8 * GiB, "Pass", "8.0 GigaBytes"},
      {16 * GiB, "Pass", "16.0 GigaBytes"},
      {24 * GiB + 256 * MiB, "Pass", "24.2 GigaBytes"},
      {3 * GiB, "Fail", "3.0 GigaBytes"},
      {GiB, "Fail", "1.0 GigaBytes"},  // exactly one gigabyte is not shown in megabytes
      {GiB - 1, "Fail", "1024.0 MegaBytes"},
      {512 * MiB, "Fail", "512.0 MegaBytes"},
      {0, "Fail", "0.0 MegaBytes"},
      {UINT64_MAX, "Pass", "17179869184.0 GigaBytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    FakeMachineFacts facts;
    facts.memory = c.bytes;
    const auto report = runCheck(facts, &ValidationRunner::checkMemory);
    const std::string sizeText(c.sizeText);
    const std::string line =
        c.status == "Pass"
            ? "Memory Size:" + sizeText
            : "Application requires a minimum of 4 GigaBytes of RAM.  Memory Size:" + sizeText;
    EXPECT_EQ(report.lines, std::vector<std::string>{line});
    EXPECT_EQ(report.rows,
              (std::vector<ResultRow>{{"RAM (Memory)", std::string(c.status), sizeText}}));
  }
}

TEST(MemoryCheckTest, UnreadableMemoryWarnsAsUnknown) {
  FakeMachineFacts facts;
  facts.memory = std::nullopt;
  const auto report = runCheck(facts, &ValidationRunner::checkMemory);
  EXPECT_EQ(report.lines, std::vector<std::string>{"Memory Size:unknown"});
  EXPECT_EQ(report.rows, (std::vector<ResultRow>{{"RAM (Memory)", "Warn", "unknown"}}));
}

}  // namespace
}  // namespace tarq
