#pragma once

#include <cstddef>
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
  // What a person can do about each row: empty for a row that passed, or where there is nothing
  // to say.
  const std::vector<std::string>& remedies() const { return remedies_; }

  // Appends one row, taken as it is, with its remedy, then reloads.
  void addResult(std::string testName, std::string result, std::string detected,
                 std::string remedy = {});
  // Empties the list, then reloads.
  void removeAllResults();

 protected:
  // Asks the view to show the current list again; nothing to do without one.
  virtual void reloadData() {}

 private:
  std::vector<ResultRow> results_;
  std::vector<std::string> remedies_;
};

// The result lines of the last pass, in the order the checks produced them.
class ResultTextTable {
 public:
  virtual ~ResultTextTable() = default;

  // Said of a line that no check appended.
  static constexpr std::size_t kNoCheck = static_cast<std::size_t>(-1);

  const std::vector<std::string>& resStrings() const { return resStrings_; }
  // The place in the run order of the check that appended each line.
  const std::vector<std::size_t>& lineChecks() const { return lineChecks_; }

  // Appends one line, said by the check at `check` in the run order, then reloads.
  void appendLine(std::string line, std::size_t check = kNoCheck);
  // Empties the list, then reloads.
  void removeAllLines();

 protected:
  virtual void reloadData() {}

 private:
  std::vector<std::string> resStrings_;
  std::vector<std::size_t> lineChecks_;
};

}  // namespace tarq
