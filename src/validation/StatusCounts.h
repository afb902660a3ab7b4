#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "validation/ResultRecords.h"

namespace tarq {

// How many rows of a pass passed, warned and failed. Status words are compared exactly, so
// "fail" or "WARN" counts as none of the three.
struct StatusCounts {
  std::size_t passed = 0;
  std::size_t warned = 0;
  std::size_t failed = 0;

  friend bool operator==(const StatusCounts&, const StatusCounts&) = default;
};
StatusCounts countStatuses(const std::vector<ResultRow>& rows);

// What a finished pass means for installing the client application: ready (every check
// passed), ready with warnings (none failed), or not ready.
enum class Verdict { ready, readyWithWarnings, notReady };
Verdict verdictOf(const StatusCounts& counts);
// The verdict as one plain sentence, the same in the window and the text report.
std::string verdictSentence(const StatusCounts& counts);
// The verdict's identifier in reports read by programs: "ready", "readyWithWarnings",
// "notReady".
std::string_view verdictIdentifier(Verdict verdict);

}  // namespace tarq
