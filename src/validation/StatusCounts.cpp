#include "validation/StatusCounts.h"

namespace tarq {

StatusCounts countStatuses(const std::vector<ResultRow>& rows) {
  StatusCounts counts;
  for (const ResultRow& row : rows) {
    if (row.result == StatusWord::pass) {
      ++counts.passed;
    } else if (row.result == StatusWord::warn) {
      ++counts.warned;
    } else if (row.result == StatusWord::fail) {
      ++counts.failed;
    }
  }
  return counts;
}

}  // namespace tarq
