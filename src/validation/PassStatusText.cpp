#include "validation/PassStatusText.h"

#include <fmt/format.h>

#include <algorithm>

#include "validation/ValidationRunner.h"

namespace tarq {

std::string durationText(double seconds) {
  if (seconds < 0.9995) {
    return fmt::format("{:.0f} ms", std::max(1.0, seconds * 1000));
  }
  return fmt::format("{:.1f} s", seconds);
}

std::string startingText() {
  return "Starting the checks…";
}

std::string checkingText(std::size_t index, std::string_view testName) {
  return fmt::format("Checking {} ({} of {})…", testName, index + 1, kTestNamesInRunOrder.size());
}

std::string verdictText(const StatusCounts& counts, double seconds) {
  return fmt::format("{} failed, {} warned, {} passed in {}", counts.failed, counts.warned,
                     counts.passed, durationText(seconds));
}

std::string stoppedText(std::size_t checksStarted, double seconds) {
  if (checksStarted == 0) {
    return fmt::format("Stopped before the first check, after {}.", durationText(seconds));
  }
  return fmt::format("Stopped during check {} of {}, after {}.", checksStarted,
                     kTestNamesInRunOrder.size(), durationText(seconds));
}

std::string notStartedText(std::string_view reason) {
  return fmt::format("Could not start the checks: {}", reason);
}

}  // namespace tarq
