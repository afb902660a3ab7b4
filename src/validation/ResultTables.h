#pragma once

#include <string>
#include <vector>

#include "validation/ResultRecords.h"

namespace tarq {

// The list of result rows of the last pass, one per check in run order. The window's summary
// pane and the headless report both derive from it; the window redraws in reloadData.
class TestSummaryTable {
 public:
  virtual ~TestSummaryTable() = default;

  const std::vector<ResultRow>& results() const { return results_; }

  // Appends one row, taken as it is, then reloads.
  void addResult(std::string testName, std::string result, std::string detected);
  // Empties the list, then reloads.
  void removeAllResults();

 protected:
  // Asks the view to show the current list again; nothing to do without one.
  virtual void reloadData() {}

 private:
  std::vector<ResultRow> results_;
};

// The result lines of the last pass, in the order the checks produced them.
class ResultTextTable {
 public:
  virtual ~ResultTextTable() = default;

  const std::vector<std::string>& resStrings() const { return resStrings_; }

  // Appends one line, then reloads.
  void appendLine(std::string line);
  // Empties the list, then reloads.
  void removeAllLines();

 protected:
  virtual void reloadData() {}

 private:
  std::vector<std::string> resStrings_;
};

}  // namespace tarq
