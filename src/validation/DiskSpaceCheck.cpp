#include <string>

#include "validation/NumberText.h"
#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

constexpr std::string_view kTestName = kTestNamesInRunOrder[3];
constexpr int64_t kBytesPerGigabyte = int64_t{1} << 30;
// Installing needs 5 GiB free, judged on the exact byte count.
constexpr int64_t kMinimumFreeBytes = 5 * kBytesPerGigabyte;

}  // namespace

void ValidationRunner::checkDiskSpace() {
  const int64_t freeBytes = facts().freeDiskSpace();
  const int64_t totalBytes = facts().totalDiskSpace();
  measure(Measurement::ofInteger("freeBytes", freeBytes));
  measure(Measurement::ofInteger("totalBytes", totalBytes));
  std::string sizes = "Total Disk Space: " + integerText(totalBytes / kBytesPerGigabyte) +
                      "GB Total Free Space: " + integerText(freeBytes / kBytesPerGigabyte) + "GB";
  appendResultLine(sizes);

  const bool enough = freeBytes >= kMinimumFreeBytes;
  if (!enough) {
    appendResultLine("Application cannot be installed without 5 GB of free disk space.");
  }
  reportResultRow(kTestName, enough ? StatusWord::pass : StatusWord::fail, std::move(sizes),
                  Remedy::diskSpace(freeBytes, kMinimumFreeBytes));
}

}  // namespace tarq
