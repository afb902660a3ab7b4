// What the window says beside the cells: tooltips, each row's guidance, linked selection, markers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ShownWindow.h"
#include "ui/StatusColours.h"
#include "ui/TableView.h"

namespace tarq::testing {
namespace {

struct GuidedRow {
  ResultRow row;
  std::string remedy;
};
// Rows found by their checks' names, whatever their place; a remedy counts only where the row did
// not pass, and its trailing line end is dropped.
const std::vector<GuidedRow> kRows{
    {{"Operating System", "Pass", "macOS 13.6"}, "Update macOS to version 10.11.6 or later."},
    {{"USB 2.0/3.0/3.1", "Warn", "Unable to determine USB versions"},
     "Use a computer with a USB 2.0 or later port.\n"},
    {{"Supported Browsers", "Fail", "Unable to find Google Chrome"},
     "Install Google Chrome in /Applications.\n"},
    {{"Check", "Fail", "x"}, "Nothing to do."},
    {{"Mono Framework", "Fail", longText()}, "Install Mono Framework 4 or later."},
    {{"Supported Browsers", "Pass", "Google Chrome 120.0.6099.129 \n"}, ""},
};
// Each line with the place in the run order of the check that wrote it.
const std::vector<std::pair<std::string, std::size_t>> kLines{
    {"macOS 13.6", 0},
    {"USB first", 4},
    {"USB second", 4},
    {"no check's", ResultTextTable::kNoCheck},
    {"Chrome", 6},
    {"USB third", 4},
    {longText(), ResultTextTable::kNoCheck},
};

void fillTables(const ShownWindow& window) {
  for (const auto& [row, remedy] : kRows) {
    window.summary().addResult(row.testName, row.result, row.detected, remedy);
  }
  for (const auto& [line, check] : kLines) {
    window.lines().appendLine(line, check);
  }
  window.button().SetFocus();
  paintedColour(window.summaryTable(), 1, 2, kYellow);
}

const std::string kUsbTip =
    "Requires: USB 2.0 or later\nTo do: Use a computer with a USB 2.0 or later port.";
const std::string kChromeTip =
    "Requires: Google Chrome in /Applications\nTo do: Install Google Chrome in /Applications.";

// Under the pointer a cut text shows whole, and a row that failed or warned adds its requirement
// and remedy; a row that passed, or that no check made, adds neither.
TEST(WindowGuidanceTest, ThePointerShowsCutTextsWholeAndWhatAShortfallRequires) {
  const ShownWindow window(nullptr);
  fillTables(window);
  const struct {
    wxDataViewCtrl& table;
    unsigned row, column;
    std::string tip;
  } cells[] = {
      {window.summaryTable(), 2, 0, kChromeTip},
      {window.summaryTable(), 0, 0, ""},  // and the tip before it gone
      {window.summaryTable(), 1, 1, kUsbTip},
      {window.summaryTable(), 3, 0, ""},
      {window.summaryTable(), 4, 2,
       longText() + "\n\nRequires: Mono Framework 4 or later\nTo do: Install Mono Framework 4 or "
                    "later."},
      {window.summaryTable(), 5, 0, ""},
      {window.linesTable(), 6, 0, longText()},
  };
  for (const auto& cell : cells) {
    EXPECT_TRUE(tipOverCell(cell.table, cell.row, cell.column, cell.tip))
        << cell.table.GetName() << " row " << cell.row << ": " << cell.table.GetToolTipText();
  }
}

// A clicked row shows its check's requirement (and remedy) in the strip and selects all its
// check's lines; a clicked line selects its check's row. A new pass clears the strip's line.
TEST(WindowGuidanceTest, SelectingARowSelectsItsLinesAndSaysWhatItRequires) {
  FakeMachineFacts facts;
  const ShownWindow window(&facts);
  fillTables(window);
  const struct {
    bool summary;
    unsigned clicked;
    std::vector<unsigned> rows, lines;
    std::string guidance;
  } clicks[] = {
      {true,
       1,
       {1},
       {1, 2, 5},
       "Requires: USB 2.0 or later. To do: Use a computer with a USB 2.0 or later port."},
      {true, 0, {0}, {0}, "Requires: macOS 10.11.6 or later."},
      {false,
       4,
       {2, 5},
       {4},
       "Requires: Google Chrome in /Applications. To do: Install Google Chrome in /Applications."},
      {false, 3, {}, {3}, ""},
      {true, 3, {3}, {}, ""},
  };
  for (const auto& click : clicks) {
    SCOPED_TRACE((click.summary ? "row " : "line ") + std::to_string(click.clicked));
    clickCell(click.summary ? window.summaryTable() : window.linesTable(), click.clicked, 0);
    EXPECT_EQ(selectedRows(window.summaryTable()), click.rows);
    EXPECT_EQ(selectedRows(window.linesTable()), click.lines);
    EXPECT_EQ(window.guidance(), click.guidance);
  }
  clickCell(window.summaryTable(), 2, 0);
  ASSERT_FALSE(window.guidance().empty());
  ASSERT_TRUE(window.clickButton([&] { return window.summary().results().size() == 8; }));
  EXPECT_EQ(window.guidance(), "");
}

// "Fail" and "Warn" differ in shape as well as colour, at the desktop's scale 1 and 2.
TEST(WindowGuidanceTest, FailAndWarnMarkersDifferInShape) {
  const StatusMarkers markers;
  for (const int side : {12, 24}) {
    SCOPED_TRACE(side);
    const wxImage fail = markers.marker("Fail").GetBitmap(wxSize(side, side)).ConvertToImage();
    const wxImage warn = markers.marker("Warn").GetBitmap(wxSize(side, side)).ConvertToImage();
    ASSERT_EQ(fail.GetSize(), wxSize(side, side));
    ASSERT_EQ(warn.GetSize(), wxSize(side, side));
    int differing = 0;
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        differing += (fail.GetAlpha(x, y) > 127) != (warn.GetAlpha(x, y) > 127);
      }
    }
    EXPECT_GE(differing, side * side / 10);
  }
}

}  // namespace
}  // namespace tarq::testing
