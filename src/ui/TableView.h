#pragma once

#include <wx/dataview.h>
#include <wx/thread.h>

#include <functional>
#include <string>

namespace tarq {

// What a cell shows of a stored text: all of it but its trailing white space, which would only
// make the row taller (a browser's version answer ends in a line end). What is stored, copied and
// reported keeps it.
wxString displayText(const std::string& stored);

struct TableTexts {
  // The whole text a cell shows, by row and model column.
  std::function<wxString(unsigned row, unsigned column)> cell;
  // A row as copied: its stored texts, cells separated by tabs.
  std::function<wxString(unsigned row)> row;
};

// Makes `table`, once it has its columns, behave as both of the window's tables do: screen
// readers announce it as `accessibleName`; a text too long for its cell ends in "…" and shows
// whole as the pointer's tooltip; Return presses the window's default button; the selected rows
// are copied, one line each in table order, with Ctrl+C (Cmd+C) or the context menu's "Copy".
void setUpTable(wxDataViewCtrl& table, const wxString& accessibleName, TableTexts texts);

// Asks for `table` to be drawn again from its list. Controls are touched on the main thread only:
// a pass runs elsewhere and hands each row and line over with a queued call, and the event loop,
// free while the pass runs, paints the change at once.
inline void requestRepaint(wxWindow& table) {
  wxASSERT_MSG(wxIsMainThread(), "a table was changed off the main thread");
  table.Refresh();
}

}  // namespace tarq
