// The table panes as the layout builds them, without a pass: rows and lines go in directly.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/ShownWindow.h"

namespace tarq::testing {
namespace {

// Texts that end in white space, which the cells drop, and statuses near "Fail" and "Warn".
const std::vector<ResultRow> kRows{
    {" Ünïcode check ", "Fail", "  Größe:\t1.5 GB\x1b[0m\n "},
    {"Check", "Warn", ""},
    {"Check", "Pass", longText() + "\n"},
    {"Check", "fail", "x"},
    {"Check", "WARN", "x"},
    {"Check", "Fail ", "x"},
    {"Check", "", "x"},
};

// Puts the rows and lines in, nothing selected and the focus on the button, and waits until
// they are laid out: until then the table gives the places of earlier rows.
void fillTables(const ShownWindow& window) {
  for (const auto& row : kRows) {
    window.summary().addResult(row.testName, row.result, row.detected);
  }
  window.lines().appendLine("  Größe:\t1.5 GB\x1b[0m\n ");
  window.lines().appendLine(longText());
  window.summaryTable().UnselectAll();
  window.button().SetFocus();
  paintedColour(window.summaryTable(), 1, 2, kYellow);
}

// Each column under its title shows its own field, less trailing white space.
TEST(WindowTablesTest, EachColumnShowsItsFieldLessTrailingWhiteSpace) {
  const ShownWindow window(nullptr);
  fillTables(window);
  const char* titles[] = {"Check", "Result", "Detected"};
  const std::vector<std::string> shown[] = {
      {" Ünïcode check", "Check", "Check", "Check", "Check", "Check", "Check"},
      {"Fail", "Warn", "Pass", "fail", "WARN", "Fail", ""},
      {"  Größe:\t1.5 GB\x1b[0m", "", longText(), "x", "x", "x", "x"},
  };
  ASSERT_EQ(window.summaryTable().GetColumnCount(), 3u);
  for (unsigned column = 0; column < 3; ++column) {
    EXPECT_EQ(window.summaryTable().GetColumn(column)->GetTitle(), titles[column]);
    EXPECT_EQ(shownColumn(window.summaryTable(), column), shown[column]) << titles[column];
  }
  ASSERT_EQ(window.linesTable().GetColumnCount(), 1u);
  EXPECT_EQ(window.linesTable().GetColumn(0)->GetTitle(), "Result line");
  EXPECT_EQ(shownColumn(window.linesTable(), 0),
            (std::vector<std::string>{shown[2][0], longText()}));
}

// Only "Fail" and "Warn" rows are coloured, read back from the screen, also over an earlier
// pass's painted rows; their markers take the colour (a clear one elsewhere) and their text is
// black. A row past the end has no value.
TEST(WindowTablesTest, OnlyFailAndWarnRowsAreColouredWithMarkerAndBlackText) {
  const ShownWindow window(nullptr);
  window.summary().addResult("Check", "Fail", "earlier pass");
  paintedColour(window.summaryTable(), 0, 2, kRed);
  window.summary().removeAllResults();
  fillTables(window);
  const SummaryListModel& summary = window.summary().model();
  const std::vector<std::optional<wxColour>> colours{
      kRed, kYellow, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
  for (unsigned row = 0; row < kRows.size(); ++row) {
    SCOPED_TRACE('"' + kRows[row].result + '"');
    const wxColour painted = colours[row].value_or(window.summaryTable().GetBackgroundColour());
    EXPECT_EQ(paintedColour(window.summaryTable(), row, 2, painted), painted);
    wxVariant value;
    summary.GetValueByRow(value, row, 1);
    wxDataViewIconText shown;
    shown << value;
    const wxImage marker = shown.GetBitmapBundle().GetBitmap(wxDefaultSize).ConvertToImage();
    const int x = marker.GetWidth() / 2, y = marker.GetHeight() / 2;
    EXPECT_EQ(marker.GetAlpha(x, y) != 0, colours[row].has_value());
    wxDataViewItemAttr attr;
    EXPECT_EQ(summary.GetAttrByRow(row, 2, attr), colours[row].has_value());
    if (colours[row]) {
      EXPECT_EQ(wxColour(marker.GetRed(x, y), marker.GetGreen(x, y), marker.GetBlue(x, y)),
                *colours[row]);
      EXPECT_EQ(attr.GetColour(), *wxBLACK);
    }
  }
  for (const wxDataViewCtrl* table : {&window.summaryTable(), &window.linesTable()}) {
    const auto& model = dynamic_cast<const wxDataViewVirtualListModel&>(*table->GetModel());
    for (unsigned column = 0; column < table->GetColumnCount(); ++column) {
      wxVariant value;
      model.GetValueByRow(value, model.GetCount(), column);
      EXPECT_TRUE(value.IsNull()) << table->GetName() << " column " << column;
    }
  }
}

// Ctrl+C copies the selected rows in table order as their cells show them, tab-separated: no cell
// carries its trailing white space and no line end follows the last row, so none pastes as a
// blank row.
TEST(WindowTablesTest, CtrlCCopiesTheSelectedRowsAsShown) {
  const ShownWindow window(nullptr);
  fillTables(window);
  window.summaryTable().Select(window.summary().model().GetItem(2));
  window.summaryTable().Select(window.summary().model().GetItem(0));
  window.summaryTable().SetFocus();
  pressKey('c', wxMOD_CONTROL);
  EXPECT_EQ(copiedText(),
            " Ünïcode check\tFail\t  Größe:\t1.5 GB\x1b[0m\n"
            "Check\tPass\t" +
                longText());
}

}  // namespace
}  // namespace tarq::testing
