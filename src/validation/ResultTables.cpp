#include "validation/ResultTables.h"

#include <utility>

namespace tarq {

void TestSummaryTable::addResult(std::string testName, std::string result, std::string detected) {
  results_.push_back({std::move(testName), std::move(result), std::move(detected)});
  reloadData();
}

void TestSummaryTable::removeAllResults() {
  results_.clear();
  reloadData();
}

void ResultTextTable::appendLine(std::string line) {
  resStrings_.push_back(std::move(line));
  reloadData();
}

void ResultTextTable::removeAllLines() {
  resStrings_.clear();
  reloadData();
}

}  // namespace tarq
