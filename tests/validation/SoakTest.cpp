// A thousand whole passes in one process over the real system facts, both tables attached, each
// with its tool facts on threads of their own: threads, open descriptors, child processes and
// resident memory must not grow.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/TemporaryDirectory.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

constexpr int kPasses = 1000;
// Passes before the first measurement, so that one-time allocations (the locale, the X
// library's and the C library's caches) are in place.
constexpr int kWarmUpPasses = 20;
// Resident memory may move by allocator noise, not by a leak of a pass's worth per pass.
constexpr long kResidentGrowthAllowanceKiB = 2048;

struct ProcessCounts {
  long threads = 0;
  long openDescriptors = 0;
  long childProcesses = 0;
  long residentKiB = 0;
};

long entriesIn(const std::string& directory) {
  long count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    (void)entry;
    ++count;
  }
  return count;
}

// Children, zombies included: processes whose parent is this one.
long childrenOfThisProcess() {
  const std::string self = std::to_string(::getpid());
  long count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) {
      continue;
    }
    // "pid (name) state ppid ...": the name may hold blanks, so read after its last ')'.
    const std::size_t nameEnd = line.rfind(')');
    char state = 0;
    long parent = 0;
    if (nameEnd != std::string::npos &&
        std::sscanf(line.c_str() + nameEnd + 1, " %c %ld", &state, &parent) == 2 &&
        std::to_string(parent) == self) {
      ++count;
    }
  }
  return count;
}

ProcessCounts measure() {
  ProcessCounts counts;
  counts.threads = entriesIn("/proc/self/task");
  counts.openDescriptors = entriesIn("/proc/self/fd") - 1;  // less the one listing them
  counts.childProcesses = childrenOfThisProcess();
  std::ifstream statm("/proc/self/statm");
  long sizePages = 0;
  long residentPages = 0;
  statm >> sizePages >> residentPages;
  counts.residentKiB = residentPages * (::sysconf(_SC_PAGESIZE) / 1024);
  return counts;
}

bool underAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  return false;
#endif
}

TEST(SoakTest, ThousandPassesLeaveDescriptorsChildrenAndMemoryWhereTheyWere) {
  SystemMachineFacts facts;
  testing::WiredRunner wired(facts);
  for (int pass = 0; pass < kWarmUpPasses; ++pass) {
    wired.runner.runAllTests();
  }
  const ProcessCounts first = measure();
  for (int pass = kWarmUpPasses; pass < kPasses; ++pass) {
    wired.runner.runAllTests();
  }
  const ProcessCounts last = measure();

  for (const auto& [passes, counts] : {std::pair{kWarmUpPasses, first}, std::pair{kPasses, last}}) {
    std::printf("after pass %d: %ld threads, %ld descriptors, %ld children, %ld KiB resident\n",
                passes, counts.threads, counts.openDescriptors, counts.childProcesses,
                counts.residentKiB);
  }
  EXPECT_EQ(wired.summary.results().size(), 8u);
  EXPECT_EQ(last.threads, first.threads);
  EXPECT_EQ(last.openDescriptors, first.openDescriptors);
  EXPECT_EQ(last.childProcesses, 0);
  // AddressSanitizer keeps freed memory in quarantine, so resident memory is judged without it.
  if (!underAddressSanitizer()) {
    EXPECT_LE(last.residentKiB - first.residentKiB, kResidentGrowthAllowanceKiB);
  }
}

}  // namespace
}  // namespace tarq
