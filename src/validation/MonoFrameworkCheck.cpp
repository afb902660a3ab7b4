#include <string>

#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

constexpr std::string_view kTestName = kTestNamesInRunOrder[7];
// The client application runs on Mono 4 or later; only the major number is judged.
constexpr int64_t kNewestUnsupportedMajor = 3;

}  // namespace

void ValidationRunner::checkMonoFramework() {
  MonoVersionInfo mono = facts().monoVersion();
  measure(mono.version.empty() ? Measurement::unknown("version")
                               : Measurement::ofText("version", mono.version));
  if (mono.major == 0) {
    // A failure, or a version whose first number is 0 or too large (its error is then empty).
    appendResultLine(mono.error);
    appendResultLine("The Mono Framework version 4 or later is required to be installed.");
    reportResultRow(kTestName, StatusWord::fail, std::move(mono.error), Remedy::mono(true));
    return;
  }
  std::string label = "Mono Framework Version: " + mono.version;
  if (mono.major > kNewestUnsupportedMajor) {
    appendResultLine(label);
    reportResultRow(kTestName, StatusWord::pass, std::move(label));
  } else {
    appendResultLine(label + ", version 4 or later is required to be installed.");
    reportResultRow(kTestName, StatusWord::fail, std::move(label), Remedy::mono(false));
  }
}

}  // namespace tarq
