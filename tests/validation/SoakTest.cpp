// A thousand whole passes over the real system facts, tool facts on threads of their own: threads,
// open descriptors, child processes and resident memory must not grow.
#include <gtest/gtest.h>

#include "support/ProcessCensus.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

constexpr int kPasses = 1000;
// Before the first census, so that one-time allocations (the locale, library caches) are made.
constexpr int kWarmUpPasses = 20;
// Allocator noise, not a leak of a pass's worth per pass.
constexpr long kResidentGrowthAllowanceKiB = 2048;

TEST(SoakTest, ThousandPassesLeaveDescriptorsChildrenAndMemoryWhereTheyWere) {
  SystemMachineFacts facts;
  testing::WiredRunner wired(facts);
  for (int pass = 0; pass < kWarmUpPasses; ++pass) {
    wired.runner.runAllTests();
  }
  const auto first = testing::ProcessCensus::take();
  for (int pass = kWarmUpPasses; pass < kPasses; ++pass) {
    wired.runner.runAllTests();
  }
  const auto last = testing::ProcessCensus::take();

  EXPECT_EQ(wired.summary.results().size(), 8u);
  EXPECT_EQ(last.threads, first.threads);
  EXPECT_EQ(last.openDescriptors, first.openDescriptors);
  EXPECT_EQ(last.childProcesses, 0);
#if !defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer keeps freed memory in quarantine, so resident memory is judged without it.
  EXPECT_LE(last.residentKiB - first.residentKiB, kResidentGrowthAllowanceKiB);
#endif
}

}  // namespace
}  // namespace tarq
