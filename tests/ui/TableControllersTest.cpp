#include <gtest/gtest.h>

#include "ui/WindowHarness.h"

namespace tarq {
namespace {

using testing::shownColumn;

// The table panes as the layout builds them, without a pass: rows and lines go in directly.
class TableControllersTest : public ::testing::Test, protected testing::ShownWindow {
 protected:
  TableControllersTest() : ShownWindow(nullptr) {}
};

struct ShownColumnCase {
  const char* title;
  std::vector<std::string> cells;
};

// Each column under its title shows its own field, as stored but for trailing white space.
TEST_F(TableControllersTest, ColumnsShowTheirFieldsUnderTheirTitles) {
  summary().addResult(" Ünïcode check ", "Fail", "  Größe:\t1.5 GB\x1b[0m\n ");
  summary().addResult("Check", "Warn", "");
  lines().appendLine("  Größe:\t1.5 GB\x1b[0m\n ");
  lines().appendLine("");

  const std::vector<ShownColumnCase> summaryColumns{
      {"Check", {" Ünïcode check", "Check"}},
      {"Result", {"Fail", "Warn"}},
      {"Detected", {"  Größe:\t1.5 GB\x1b[0m", ""}},
  };
  ASSERT_EQ(summaryTable().GetColumnCount(), summaryColumns.size());
  for (unsigned column = 0; column < summaryColumns.size(); ++column) {
    EXPECT_EQ(summaryTable().GetColumn(column)->GetTitle(), summaryColumns[column].title);
    EXPECT_EQ(shownColumn(summaryTable(), column), summaryColumns[column].cells)
        << summaryColumns[column].title;
  }
  ASSERT_EQ(linesTable().GetColumnCount(), 1u);
  EXPECT_EQ(linesTable().GetColumn(0)->GetTitle(), "Result line");
  EXPECT_EQ(shownColumn(linesTable(), 0),
            (std::vector<std::string>{"  Größe:\t1.5 GB\x1b[0m", ""}));
}

struct RowColourCase {
  const char* result;
  wxColour background;
};

// Read back from the screen, right of the text in the last column. Rows coloured by an earlier
// pass lose their colour when the next pass's rows do not fail.
TEST_F(TableControllersTest, RowsArePaintedInTheirStatusColour) {
  const wxColour plain = summaryTable().GetBackgroundColour();
  const std::vector<RowColourCase> cases{
      {"Fail", wxColour(255, 0, 0)},
      {"Warn", wxColour(255, 255, 0)},
      {"Pass", plain},
      {"fail", plain},
      {"WARN", plain},
      {"Fail ", plain},
      {"", plain},
  };
  for (std::size_t row = 0; row < cases.size(); ++row) {
    summary().addResult("Check", "Fail", "earlier pass");
  }
  summary().removeAllResults();
  for (const RowColourCase& rowCase : cases) {
    summary().addResult("Check", rowCase.result, "x");
  }
  summaryTable().UnselectAll();
  button().SetFocus();

  for (unsigned row = 0; row < cases.size(); ++row) {
    const wxRect cell = testing::shownCell(summaryTable(), row, 2);
    ASSERT_FALSE(cell.IsEmpty()) << row << " table " << summaryTable().GetSize().x << "x"
                                 << summaryTable().GetSize().y << " frame " << frame().GetSize().x
                                 << "x" << frame().GetSize().y;
    const wxPoint point(cell.GetLeft() + cell.GetWidth() / 2, cell.GetTop() + cell.GetHeight() / 2);
    EXPECT_EQ(testing::paintedColour(summaryTable(), point), cases[row].background)
        << '"' << cases[row].result << '"';
  }
}

// The pointer over a cell whose text does not fit shows the whole text; over one that fits,
// nothing.
TEST_F(TableControllersTest, TextsCutShortShowWholeUnderThePointer) {
  std::string detected = "Detected:";
  for (int word = 0; word < 60; ++word) {
    detected += " word" + std::to_string(word);
  }
  summary().addResult("Check", "Fail", detected + "\n");
  summary().addResult("Check", "Pass", "fits");
  lines().appendLine("Line:" + detected);

  struct PointedCell {
    wxDataViewCtrl& table;
    unsigned row;
    unsigned column;
    std::string tip;
  };
  const std::vector<PointedCell> cells{
      {summaryTable(), 0, 2, detected},
      {summaryTable(), 1, 2, ""},
      {summaryTable(), 0, 0, ""},
      {linesTable(), 0, 0, "Line:" + detected},
  };
  for (const PointedCell& cell : cells) {
    const wxRect rect = testing::shownCell(cell.table, cell.row, cell.column);
    wxUIActionSimulator().MouseMove(cell.table.ClientToScreen(
        wxPoint(rect.GetLeft() + 10, rect.GetTop() + rect.GetHeight() / 2)));
    EXPECT_TRUE(testing::processEventsUntil(
        [&] { return cell.table.GetToolTipText().utf8_string() == cell.tip; },
        std::chrono::seconds(2)))
        << cell.table.GetName() << " row " << cell.row << " column " << cell.column;
  }
}

TEST_F(TableControllersTest, UnconnectedTablesKeepTheirListsWithoutReloading) {
  auto* unconnectedSummary = new TestNameViewController;
  unconnectedSummary->Create(frame_);
  auto* unconnectedLines = new TestResultsViewController;
  unconnectedLines->Create(frame_);
  unconnectedSummary->viewDidLoad();
  unconnectedLines->viewDidLoad();
  ASSERT_EQ(unconnectedSummary->listTests(), nullptr);

  unconnectedSummary->addResult("Check", "Warn", "x");
  unconnectedLines->appendLine("line");

  EXPECT_EQ(unconnectedSummary->results(), (std::vector<ResultRow>{{"Check", "Warn", "x"}}));
  EXPECT_EQ(unconnectedLines->resStrings(), std::vector<std::string>{"line"});
  // The model is only told of rows by a reload.
  EXPECT_EQ(unconnectedSummary->model().GetCount(), 0u);
}

}  // namespace
}  // namespace tarq
