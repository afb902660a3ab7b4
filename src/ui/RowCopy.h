#pragma once

#include <wx/dataview.h>

#include <functional>

namespace tarq {

// Lets a person copy the selected rows of `table` as plain text, one line per row in table
// order: with Ctrl+C (Cmd+C on macOS) and with "Copy" in the rows' context menu.
void enableRowCopy(wxDataViewCtrl& table, std::function<wxString(unsigned row)> rowText);

}  // namespace tarq
