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

Verdict verdictOf(const StatusCounts& counts) {
  return counts.failed > 0   ? Verdict::notReady
         : counts.warned > 0 ? Verdict::readyWithWarnings
                             : Verdict::ready;
}

std::string verdictSentence(const StatusCounts& counts) {
  switch (verdictOf(counts)) {
    case Verdict::ready:
      return "Ready: this computer meets every requirement of the client application.";
    case Verdict::readyWithWarnings:
      return "Ready with warnings: the client application may perform below expectations.";
    case Verdict::notReady:
      break;
  }
  return "Not ready: " + std::to_string(counts.failed) +
         (counts.failed == 1 ? " check failed." : " checks failed.");
}

std::string_view verdictIdentifier(Verdict verdict) {
  switch (verdict) {
    case Verdict::ready:
      return "ready";
    case Verdict::readyWithWarnings:
      return "readyWithWarnings";
    case Verdict::notReady:
      break;
  }
  return "notReady";
}

}  // namespace tarq
