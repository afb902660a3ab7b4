#pragma once

#include <wx/dataview.h>
#include <wx/thread.h>

#include <functional>
#include <string_view>
#include <vector>

namespace tarq {

// What a cell shows and copies of a stored text: all of it but its trailing white space, which
// would only make the row taller, or a copied row end in a blank one (a browser's version answer
// ends in a line end). What is stored and reported keeps it.
wxString displayText(std::string_view stored);

struct TableTexts {
  // The whole text a cell shows, by row and model column.
  std::function<wxString(unsigned row, unsigned column)> cell;
  // A row as copied: its cells' texts separated by tabs.
  std::function<wxString(unsigned row)> row;
  // What the pointer over a row adds to its tooltip, below a cut text; none if not given.
  std::function<wxString(unsigned row)> rowTip;
};

// The rows selected in `table`, top to bottom.
std::vector<unsigned> selectedRows(const wxDataViewCtrl& table);
// Selects exactly `rows` of `table` and scrolls the first of them into view.
void selectOnly(wxDataViewCtrl& table, const std::vector<unsigned>& rows);

// Makes `table`, once it has its columns, behave as both of the window's tables do: screen
// readers announce it as `accessibleName`; a text too long for its cell ends in "…" and shows
// whole as the pointer's tooltip, followed by what the row adds; Return presses the window's
// default button; the selected rows are copied, one line each in table order, with Ctrl+C (Cmd+C)
// or the context menu's "Copy".
void setUpTable(wxDataViewCtrl& table, const wxString& accessibleName, TableTexts texts);

// Asks for `table` to be drawn again from its list. Controls are touched on the main thread only:
// a pass runs elsewhere and hands each row and line over with a queued call, and the event loop,
// free while the pass runs, paints the change at once.
inline void requestRepaint(wxWindow& table) {
  wxASSERT_MSG(wxIsMainThread(), "a table was changed off the main thread");
  table.Refresh();
}

}  // namespace tarq
