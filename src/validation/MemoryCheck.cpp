#include <string>

#include "validation/NumberText.h"
#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

constexpr std::string_view kTestName = kTestNamesInRunOrder[1];
// The client application needs 4 GiB; the decision is made on the unrounded size.
constexpr double kMinimumGigabytes = 4.0;
constexpr double kBytesPerGigabyte = 1073741824.0;

}  // namespace

void ValidationRunner::checkMemory() {
  const std::optional<uint64_t> bytes = facts().memorySize();
  measure(Measurement::ofInteger("bytes", bytes));
  if (!bytes) {
    // Unreadable memory is not small memory: the requirement could not be verified.
    appendResultLine("Memory Size:" + std::string(kUnknownValue));
    reportResultRow(kTestName, StatusWord::warn, std::string(kUnknownValue), Remedy::memory(bytes));
    return;
  }

  const double gigabytes = static_cast<double>(*bytes) / kBytesPerGigabyte;
  const std::string sizeText = gigabytes < 1.0
                                   ? oneDecimalWithBlank(gigabytes * 1024.0) + "MegaBytes"
                                   : oneDecimalWithBlank(gigabytes) + "GigaBytes";
  const bool enough = gigabytes >= kMinimumGigabytes;
  appendResultLine(enough ? "Memory Size:" + sizeText
                          : "Application requires a minimum of 4 GigaBytes of RAM.  Memory Size:" +
                                sizeText);
  reportResultRow(kTestName, enough ? StatusWord::pass : StatusWord::fail, sizeText,
                  Remedy::memory(bytes));
}

}  // namespace tarq
