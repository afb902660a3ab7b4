#include "ui/CheckSelection.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "ui/RowGuidance.h"
#include "ui/TableView.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"

namespace tarq {
namespace {

struct LinkedTables {
  TestNameViewController& summary;
  TestResultsViewController& lines;
  std::function<void(const wxString&)> showGuidance;
  // Set while one table's selection is being made to follow the other's.
  bool following = false;

  wxDataViewCtrl& summaryTable() const { return *summary.listTests(); }
  wxDataViewCtrl& linesTable() const { return *lines.listTestResults(); }

  std::optional<std::size_t> checkOf(unsigned row) const {
    return row < summary.results().size() ? checkOfRow(summary.results()[row]) : std::nullopt;
  }

  // The row under the summary's cursor if it is selected, else its first selected one.
  void showCurrentGuidance() const {
    const std::vector<unsigned> rows = selectedRows(summaryTable());
    if (rows.empty()) {
      showGuidance({});
      return;
    }
    unsigned shown = rows.front();
    const wxDataViewItem current = summaryTable().GetCurrentItem();
    if (current.IsOk() && summaryTable().IsSelected(current)) {
      shown = summary.model().GetRow(current);
    }
    showGuidance(wxString::FromUTF8(guidanceSentence(summary.guidanceOf(shown))));
  }

  void summaryChanged() {
    showCurrentGuidance();
    std::set<std::size_t> checks;
    for (const unsigned row : selectedRows(summaryTable())) {
      if (const std::optional<std::size_t> check = checkOf(row)) {
        checks.insert(*check);
      }
    }
    std::vector<unsigned> lineRows;
    const std::vector<std::size_t>& lineChecks = lines.lineChecks();
    for (unsigned line = 0; line < lineChecks.size(); ++line) {
      if (checks.count(lineChecks[line]) != 0) {
        lineRows.push_back(line);
      }
    }
    follow(linesTable(), lineRows);
  }

  void linesChanged() {
    std::set<std::size_t> checks;
    const std::vector<std::size_t>& lineChecks = lines.lineChecks();
    for (const unsigned line : selectedRows(linesTable())) {
      // A line of no check (kNoCheck) matches no row.
      if (line < lineChecks.size()) {
        checks.insert(lineChecks[line]);
      }
    }
    std::vector<unsigned> rows;
    for (unsigned row = 0; row < summary.results().size(); ++row) {
      const std::optional<std::size_t> check = checkOf(row);
      if (check && checks.count(*check) != 0) {
        rows.push_back(row);
      }
    }
    follow(summaryTable(), rows);
    showCurrentGuidance();
  }

  void follow(wxDataViewCtrl& table, const std::vector<unsigned>& rows) {
    following = true;
    selectOnly(table, rows);
    following = false;
  }
};

}  // namespace

void linkCheckSelection(TestNameViewController& summary, TestResultsViewController& lines,
                        std::function<void(const wxString& guidance)> showGuidance) {
  if (summary.listTests() == nullptr || lines.listTestResults() == nullptr) {
    return;
  }
  const auto linked =
      std::make_shared<LinkedTables>(LinkedTables{summary, lines, std::move(showGuidance)});
  summary.listTests()->Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, [linked](wxDataViewEvent& event) {
    event.Skip();
    if (!linked->following) {
      linked->summaryChanged();
    }
  });
  lines.listTestResults()->Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, [linked](wxDataViewEvent& event) {
    event.Skip();
    if (!linked->following) {
      linked->linesChanged();
    }
  });
}

}  // namespace tarq
