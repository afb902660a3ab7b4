// The tables with rows and lines put in directly: cells, colours, tooltips, selection, Copy.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/ShownWindow.h"
#include "ui/StatusColours.h"
#include "ui/TableView.h"

namespace tarq::testing {
namespace {

const std::string kLong = "Detected:" + std::string(400, 'x');  // too long for any cell

// Rows found by their checks' names, whatever their place. Only an exact "Fail" or "Warn" is
// coloured and guided (its remedy less the trailing line end); cells drop trailing white space.
const std::vector<std::pair<ResultRow, std::string>> kRows{
    {{"Operating System", "WARN", "macOS 13.6"}, "Update macOS to version 10.11.6 or later."},
    {{"USB 2.0/3.0/3.1", "Warn", "Unable to determine USB versions"},
     "Use a computer with a USB 2.0 or later port.\n"},
    {{"Supported Browsers", "Fail", "Unable to find Google Chrome"},
     "Install Google Chrome in /Applications.\n"},
    {{" Ünïcode check ", "Fail", "  Größe:\t1.5 GB\x1b[0m\n "}, "Nothing to do."},
    {{"Mono Framework", "Fail", kLong}, "Install Mono Framework 4 or later."},
    {{"Supported Browsers", "Fail ", "Google Chrome 120.0.6099.129 \n"}, ""},
    {{"Check", "fail", "x"}, ""},
    {{"Check", "", "x"}, ""},
};
// Each line with the place in the run order of the check that wrote it.
const std::vector<std::pair<std::string, std::size_t>> kLines{
    {"macOS 13.6", 0},
    {"USB first", 4},
    {"USB second", 4},
    {"no check's", ResultTextTable::kNoCheck},
    {"Chrome", 6},
    {"USB third", 4},
    {kLong, ResultTextTable::kNoCheck},
    {"  Größe:\t1.5 GB\x1b[0m\n ", ResultTextTable::kNoCheck},
};

// Waits until laid out: until then the table gives the places of earlier rows.
void fillTables(const ShownWindow& window) {
  for (const auto& [row, remedy] : kRows) {
    window.summary().addResult(row.testName, row.result, row.detected, remedy);
  }
  for (const auto& [line, check] : kLines) {
    window.lines().appendLine(line, check);
  }
  window.summaryTable().UnselectAll();
  window.button().SetFocus();
  paintedColour(window.summaryTable(), 1, 2, kYellow);
}

// Colours read back from the screen, also over an earlier pass's painted rows.
TEST(WindowTablesTest, EachRowShowsItsFieldsLessTrailingWhiteSpaceInItsStatusColour) {
  const ShownWindow window(nullptr);
  window.summary().addResult("Check", "Fail", "earlier pass");
  paintedColour(window.summaryTable(), 0, 2, kRed);
  window.summary().removeAllResults();
  fillTables(window);
  const struct {
    std::vector<std::string> cells;
    std::optional<wxColour> colour;
  } rows[] = {
      {{"Operating System", "WARN", "macOS 13.6"}, {}},
      {{"USB 2.0/3.0/3.1", "Warn", "Unable to determine USB versions"}, kYellow},
      {{"Supported Browsers", "Fail", "Unable to find Google Chrome"}, kRed},
      {{" Ünïcode check", "Fail", "  Größe:\t1.5 GB\x1b[0m"}, kRed},
      {{"Mono Framework", "Fail", kLong}, kRed},
      {{"Supported Browsers", "Fail", "Google Chrome 120.0.6099.129"}, {}},
      {{"Check", "fail", "x"}, {}},
      {{"Check", "", "x"}, {}},
  };
  const char* titles[] = {"Check", "Result", "Detected"};
  ASSERT_EQ(window.summaryTable().GetColumnCount(), 3u);
  std::vector<std::string> shown[3];
  for (unsigned column = 0; column < 3; ++column) {
    EXPECT_EQ(window.summaryTable().GetColumn(column)->GetTitle(), titles[column]);
    shown[column] = shownColumn(window.summaryTable(), column);
    ASSERT_EQ(shown[column].size(), std::size(rows));
  }
  const SummaryListModel& summary = window.summary().model();
  for (unsigned row = 0; row < std::size(rows); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    const auto& expected = rows[row];
    EXPECT_EQ((std::vector<std::string>{shown[0][row], shown[1][row], shown[2][row]}),
              expected.cells);
    const wxColour painted = expected.colour.value_or(window.summaryTable().GetBackgroundColour());
    EXPECT_EQ(paintedColour(window.summaryTable(), row, 2, painted), painted);
    wxVariant value;
    summary.GetValueByRow(value, row, 1);
    wxDataViewIconText status;
    status << value;
    const wxImage marker = status.GetBitmapBundle().GetBitmap(wxDefaultSize).ConvertToImage();
    const int x = marker.GetWidth() / 2, y = marker.GetHeight() / 2;
    EXPECT_EQ(marker.GetAlpha(x, y) != 0, expected.colour.has_value());
    wxDataViewItemAttr attr;
    EXPECT_EQ(summary.GetAttrByRow(row, 2, attr), expected.colour.has_value());
    if (expected.colour) {
      EXPECT_EQ(wxColour(marker.GetRed(x, y), marker.GetGreen(x, y), marker.GetBlue(x, y)),
                *expected.colour);
      EXPECT_EQ(attr.GetColour(), *wxBLACK);
    }
  }
  ASSERT_EQ(window.linesTable().GetColumnCount(), 1u);
  EXPECT_EQ(window.linesTable().GetColumn(0)->GetTitle(), "Result line");
  const std::vector<std::string> lines = shownColumn(window.linesTable(), 0);
  ASSERT_EQ(lines.size(), kLines.size());
  EXPECT_EQ(lines[6], kLong);
  EXPECT_EQ(lines[7], "  Größe:\t1.5 GB\x1b[0m");
  // Past the end, no value.
  for (const wxDataViewCtrl* table : {&window.summaryTable(), &window.linesTable()}) {
    const auto& model = dynamic_cast<const wxDataViewVirtualListModel&>(*table->GetModel());
    for (unsigned column = 0; column < table->GetColumnCount(); ++column) {
      wxVariant past;
      model.GetValueByRow(past, model.GetCount(), column);
      EXPECT_TRUE(past.IsNull()) << table->GetName() << " column " << column;
    }
  }
}

const std::string kUsbTip =
    "Requires: USB 2.0 or later\nTo do: Use a computer with a USB 2.0 or later port.";
const std::string kChromeTip =
    "Requires: Google Chrome in /Applications\nTo do: Install Google Chrome in /Applications.";

// A cut text's tip shows it whole, plus what a known check that failed or warned requires.
TEST(WindowTablesTest, ThePointerShowsCutTextsWholeAndWhatAShortfallRequires) {
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
       kLong + "\n\nRequires: Mono Framework 4 or later\nTo do: Install Mono Framework 4 or "
               "later."},
      {window.linesTable(), 6, 0, kLong},
  };
  for (const auto& cell : cells) {
    EXPECT_TRUE(tipOverCell(cell.table, cell.row, cell.column, cell.tip))
        << cell.table.GetName() << " row " << cell.row << ": " << cell.table.GetToolTipText();
  }
}

// The strip says a tooltip's guidance as one sentence.
std::string sentence(std::string tip) {
  return tip.replace(tip.find('\n'), 1, ". ");
}

// A click selects all of its check's rows and lines and says what it requires, till a new pass.
TEST(WindowTablesTest, SelectingARowSelectsItsLinesAndSaysWhatItRequires) {
  FakeMachineFacts facts;
  const ShownWindow window(&facts);
  fillTables(window);
  const struct {
    bool summary;
    unsigned clicked;
    std::vector<unsigned> rows, lines;
    std::string guidance;
  } clicks[] = {
      {true, 0, {0}, {0}, "Requires: macOS 10.11.6 or later."},
      {false, 4, {2, 5}, {4}, sentence(kChromeTip)},
      {false, 3, {}, {3}, ""},
      {true, 3, {3}, {}, ""},
      {true, 1, {1}, {1, 2, 5}, sentence(kUsbTip)},
  };
  for (const auto& click : clicks) {
    SCOPED_TRACE((click.summary ? "row " : "line ") + std::to_string(click.clicked));
    clickCell(click.summary ? window.summaryTable() : window.linesTable(), click.clicked, 0);
    EXPECT_EQ(selectedRows(window.summaryTable()), click.rows);
    EXPECT_EQ(selectedRows(window.linesTable()), click.lines);
    EXPECT_EQ(window.guidance(), click.guidance);
  }
  ASSERT_TRUE(
      window.clickButton([&] { return shownColumn(window.summaryTable(), 0) == kRunOrder; }));
  EXPECT_EQ(window.guidance(), "");
}

// In table order as the cells show them, and no line end after the last row: none pastes blank.
TEST(WindowTablesTest, CtrlCCopiesTheSelectedRowsAsShown) {
  const ShownWindow window(nullptr);
  fillTables(window);
  window.summaryTable().Select(window.summary().model().GetItem(4));
  window.summaryTable().Select(window.summary().model().GetItem(3));
  window.summaryTable().SetFocus();
  pressKey('c', wxMOD_CONTROL);
  EXPECT_EQ(copiedText(),
            " Ünïcode check\tFail\t  Größe:\t1.5 GB\x1b[0m\nMono Framework\tFail\t" + kLong);
}

// "Fail" and "Warn" differ in shape as well as colour, at the desktop's scale 1 and 2.
TEST(WindowTablesTest, FailAndWarnMarkersDifferInShape) {
  const StatusMarkers markers;
  for (const int side : {12, 24}) {
    SCOPED_TRACE(side);
    const wxImage fail = markers.marker("Fail").GetBitmap(wxSize(side, side)).ConvertToImage();
    const wxImage warn = markers.marker("Warn").GetBitmap(wxSize(side, side)).ConvertToImage();
    ASSERT_EQ(fail.GetSize(), wxSize(side, side));
    ASSERT_EQ(warn.GetSize(), wxSize(side, side));
    int differing = 0;
    for (int pixel = 0; pixel < side * side; ++pixel) {
      differing += (fail.GetAlpha()[pixel] > 127) != (warn.GetAlpha()[pixel] > 127);
    }
    EXPECT_GE(differing, side * side / 10);
  }
}

}  // namespace
}  // namespace tarq::testing
