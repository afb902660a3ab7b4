#pragma once

#include <cstddef>
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

}  // namespace tarq
