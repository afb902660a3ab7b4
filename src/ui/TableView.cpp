#include "ui/TableView.h"

#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/menu.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "system/text/TextParsing.h"
#include "ui/AccessibleName.h"
#include "ui/RowGuidance.h"

namespace tarq {
namespace {

// The space a text renderer leaves around its text, at most.
constexpr int kCellPadding = 8;

unsigned rowOf(const wxDataViewCtrl& table, const wxDataViewItem& item) {
  const auto* model = dynamic_cast<const wxDataViewListModel*>(table.GetModel());
  return model == nullptr ? 0 : model->GetRow(item);
}

void copySelectedRows(wxDataViewCtrl& table, const std::function<wxString(unsigned)>& rowText) {
  const std::vector<unsigned> rows = selectedRows(table);
  if (rows.empty()) {
    return;
  }
  wxString text;
  // Lines between rows only: a line end after the last would paste as a blank row.
  for (const unsigned row : rows) {
    text << (row == rows.front() ? "" : "\n") << rowText(row);
  }
  wxClipboardLocker clipboard;
  if (!!clipboard) {
    wxTheClipboard->SetData(new wxTextDataObject(text));
  }
}

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

// The table's own handling of Return would only activate a row.
void returnPressesDefaultButton(wxDataViewCtrl& table) {
  table.Bind(wxEVT_CHAR_HOOK, [&table](wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    auto* window = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(&table));
    auto* button = window == nullptr ? nullptr : dynamic_cast<wxButton*>(window->GetDefaultItem());
    if ((key != WXK_RETURN && key != WXK_NUMPAD_ENTER) || event.HasAnyModifiers() ||
        button == nullptr || !button->IsEnabled()) {
      event.Skip();
      return;
    }
    wxCommandEvent press(wxEVT_BUTTON, button->GetId());
    press.SetEventObject(button);
    button->ProcessWindowEvent(press);
  });
}

// The platform shows no tooltip per cell; the table's own follows the pointer instead, and is
// there only while the text under it does not fit its cell or its row has something to add.
void showCutTextsWhole(wxDataViewCtrl& table,
                       std::function<wxString(unsigned row, unsigned column)> cellText,
                       std::function<wxString(unsigned row)> rowTip) {
  table.Bind(wxEVT_MOTION, [&table, cellText = std::move(cellText),
                            rowTip = std::move(rowTip)](wxMouseEvent& event) {
    event.Skip();
    // The event's position may be relative to the rows' own area, below the heading; the
    // pointer's place on the screen is not.
    wxDataViewItem item;
    wxDataViewColumn* column = nullptr;
    table.HitTest(table.ScreenToClient(wxGetMousePosition()), item, column);
    wxString tip;
    if (item.IsOk() && column != nullptr) {
      const wxString text = cellText(rowOf(table, item), column->GetModelColumn());
      if (table.GetTextExtent(text).x > column->GetWidth() - table.FromDIP(kCellPadding)) {
        tip = text;
      }
    }
    if (item.IsOk() && rowTip) {
      const wxString added = rowTip(rowOf(table, item));
      if (!added.empty()) {
        tip << (tip.empty() ? "" : "\n\n") << added;
      }
    }
    if (tip != table.GetToolTipText()) {
      if (tip.empty()) {
        table.UnsetToolTip();
      } else {
        table.SetToolTip(tip);
      }
    }
  });
  table.Bind(wxEVT_LEAVE_WINDOW, [&table](wxMouseEvent& event) {
    event.Skip();
    table.UnsetToolTip();
  });
}

}  // namespace

wxString displayText(std::string_view stored) {
  const std::string_view shown = SystemValuesUtility::withoutTrailingWhiteSpace(stored);
  return wxString::FromUTF8(shown.data(), shown.size());
}

std::vector<unsigned> selectedRows(const wxDataViewCtrl& table) {
  wxDataViewItemArray selection;
  table.GetSelections(selection);
  std::vector<unsigned> rows;
  for (const wxDataViewItem& item : selection) {
    rows.push_back(rowOf(table, item));
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void selectOnly(wxDataViewCtrl& table, const std::vector<unsigned>& rows) {
  const auto* model = dynamic_cast<const wxDataViewVirtualListModel*>(table.GetModel());
  if (model == nullptr) {
    return;
  }
  wxDataViewItemArray items;
  for (const unsigned row : rows) {
    items.push_back(model->GetItem(row));
  }
  table.SetSelections(items);
  if (!items.empty()) {
    table.EnsureVisible(items.front());
  }
}

void setUpTable(wxDataViewCtrl& table, const wxString& accessibleName, TableTexts texts) {
  setAccessibleName(table.GetHandle(), accessibleName.utf8_str());
  for (unsigned column = 0; column < table.GetColumnCount(); ++column) {
    table.GetColumn(column)->GetRenderer()->EnableEllipsize(wxELLIPSIZE_END);
  }
  returnPressesDefaultButton(table);
  showCutTextsWhole(table, std::move(texts.cell), std::move(texts.rowTip));
  enableRowCopy(table, std::move(texts.row));
}

}  // namespace tarq
