#include <gtest/gtest.h>

#include "ui/WindowHarness.h"

namespace tarq {
namespace {

using testing::shownColumn;

// The table panes as the layout builds them, without a pass: rows and lines go in directly.
class TableControllersTest : public ::testing::Test, protected testing::LaidOutWindow {};

struct RowColourCase {
  const char* result;
  bool coloured;
  wxColour background;
};

// Rows coloured by an earlier pass lose their colour when the next pass's rows do not fail.
TEST_F(TableControllersTest, OnlyExactFailAndWarnColourTheirRow) {
  const std::vector<RowColourCase> cases{
      {"Fail", true, wxColour(255, 0, 0)},
      {"Warn", true, wxColour(255, 255, 0)},
      {"Pass", false, {}},
      {"fail", false, {}},
      {"WARN", false, {}},
      {"Fail ", false, {}},
      {"", false, {}},
  };
  for (std::size_t row = 0; row < cases.size(); ++row) {
    summary().addResult("Check", "Fail", "earlier pass");
  }
  summary().removeAllResults();
  for (const RowColourCase& rowCase : cases) {
    summary().addResult("Check", rowCase.result, "detected");
  }
  ASSERT_EQ(summary().model().GetCount(), cases.size());
  for (unsigned row = 0; row < cases.size(); ++row) {
    for (unsigned column = 0; column < 3; ++column) {
      wxDataViewItemAttr attr;
      ASSERT_EQ(summary().model().GetAttrByRow(row, column, attr), cases[row].coloured)
          << cases[row].result;
      if (cases[row].coloured) {
        EXPECT_EQ(attr.GetBackgroundColour(), cases[row].background) << cases[row].result;
        EXPECT_EQ(attr.GetColour(), wxColour(0, 0, 0)) << cases[row].result;
      }
    }
  }
}

TEST_F(TableControllersTest, CellsShowStoredTextUnchanged) {
  const std::string detected = "  Größe:\t1.5 GB\n\x1b[0m ";
  summary().addResult(" Ünïcode check ", "Fail", detected);
  lines().appendLine(detected);
  lines().appendLine("");

  EXPECT_EQ(shownColumn(summary().model(), 0), std::vector<std::string>{" Ünïcode check "});
  EXPECT_EQ(shownColumn(summary().model(), 1), std::vector<std::string>{"Fail"});
  EXPECT_EQ(shownColumn(summary().model(), 2), std::vector<std::string>{detected});
  EXPECT_EQ(shownColumn(lines().model(), 0), (std::vector<std::string>{detected, ""}));
  EXPECT_EQ(summary().model().rowText(0).utf8_string(), " Ünïcode check \tFail\t" + detected);
}

TEST_F(TableControllersTest, RowsOutOfRangeGiveNoValueAndNoColour) {
  summary().addResult("Check", "Fail", "x");
  lines().appendLine("line");

  for (const unsigned row : {1u, 99u, ~0u}) {
    wxVariant value;
    summary().model().GetValueByRow(value, row, 0);
    EXPECT_TRUE(value.IsNull());
    lines().model().GetValueByRow(value, row, 0);
    EXPECT_TRUE(value.IsNull());
    wxDataViewItemAttr attr;
    EXPECT_FALSE(summary().model().GetAttrByRow(row, 0, attr));
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
