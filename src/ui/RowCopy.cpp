#include "ui/RowCopy.h"

#include <wx/clipbrd.h>
#include <wx/menu.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace tarq {
namespace {

void copySelectedRows(wxDataViewCtrl& table, const std::function<wxString(unsigned)>& rowText) {
  wxDataViewItemArray selection;
  table.GetSelections(selection);
  const auto* model = dynamic_cast<wxDataViewListModel*>(table.GetModel());
  if (selection.empty() || model == nullptr) {
    return;
  }
  std::vector<unsigned> rows;
  for (const wxDataViewItem& item : selection) {
    rows.push_back(model->GetRow(item));
  }
  std::sort(rows.begin(), rows.end());
  wxString text;
  for (const unsigned row : rows) {
    text << rowText(row) << '\n';
  }
  wxClipboardLocker clipboard;
  if (!!clipboard) {
    wxTheClipboard->SetData(new wxTextDataObject(text));
  }
}

}  // namespace

void enableRowCopy(wxDataViewCtrl& table, std::function<wxString(unsigned row)> rowText) {
  wxAcceleratorEntry copyKey(wxACCEL_CMD, 'C', wxID_COPY);
  table.SetAcceleratorTable(wxAcceleratorTable(1, &copyKey));
  table.Bind(
      wxEVT_MENU,
      [&table, rowText = std::move(rowText)](wxCommandEvent&) { copySelectedRows(table, rowText); },
      wxID_COPY);
  table.Bind(wxEVT_DATAVIEW_ITEM_CONTEXT_MENU, [&table](wxDataViewEvent&) {
    wxMenu menu;
    menu.Append(wxID_COPY, "Copy");
    menu.Enable(wxID_COPY, table.HasSelection());
    table.PopupMenu(&menu);
  });
}

}  // namespace tarq
