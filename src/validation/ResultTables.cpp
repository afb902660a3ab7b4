#include "validation/ResultTables.h"

#include <utility>

namespace tarq {

void TestSummaryTable::addResult(std::string testName, std::string result, std::string detected,
                                 std::string remedy) {
  results_.push_back({std::move(testName), std::move(result), std::move(detected)});
  remedies_.push_back(std::move(remedy));
  reloadData();
}

void TestSummaryTable::removeAllResults() {
  results_.clear();
  remedies_.clear();
  reloadData();
}

void ResultTextTable::appendLine(std::string line, std::size_t check) {
  resStrings_.push_back(std::move(line));
  lineChecks_.push_back(check);
  reloadData();
}

void ResultTextTable::removeAllLines() {
  resStrings_.clear();
  lineChecks_.clear();
  reloadData();
}

}  // namespace tarq
