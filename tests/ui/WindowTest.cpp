#include <gtest/gtest.h>
#include <wx/display.h>

#include <atomic>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <regex>

#include "support/FakeTool.h"
#include "ui/WindowHarness.h"

namespace tarq {
namespace {

using testing::paintedColour;
using testing::shownColumn;
using testing::ShownWindow;

const wxColour kRed(255, 0, 0);
const wxColour kYellow(255, 255, 0);

std::size_t threadCount() {
  const auto tasks = std::filesystem::directory_iterator("/proc/self/task");
  return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
}

// A machine with one check that warns and one that fails, and a count of how often the last
// check of a pass asked for its fact.
struct ObservedFacts final : testing::FakeMachineFacts {
  ObservedFacts() {
    usbVersion = 0;  // warns: unknown USB version
    chrome = {};     // fails: no browser
  }
  MonoVersionInfo monoVersion() override {
    ++monoQuestions;
    return FakeMachineFacts::monoVersion();
  }
  std::atomic<int> monoQuestions = 0;
};

// The first machine with its warning and failure mended and Mono gone, after the first pass.
void mend(ObservedFacts& facts) {
  facts.usbVersion = 3.1;
  facts.chrome = {"/Applications/Google Chrome.app", "Google Chrome 120.0.6099.129"};
  facts.mono = {"", "Unable to find the Mono Framework", 0};
}

std::vector<std::string> expectedLines(bool mended) {
  ObservedFacts facts;
  if (mended) {
    mend(facts);
  }
  testing::WiredRunner wired(facts);
  wired.runner.runAllTests();
  return wired.lines.resStrings();
}

// Each press shows one pass, rows and lines, in the status colours read back from the screen; a
// second pass on a mended machine leaves no colour, row or line of the first. Under a German
// locale the texts keep their full stops.
TEST(WindowTest, EachPressShowsOnePassOfRowsAndLinesInTheirColours) {
  const std::vector<std::string> lines[] = {expectedLines(false), expectedLines(true)};
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/bootstrap installs it";
  ObservedFacts facts;
  const ShownWindow window(&facts);
  const wxColour plain = window.summaryTable().GetBackgroundColour();
  const struct {
    std::vector<std::string> results;
    std::vector<wxColour> colours;
  } passes[] = {
      {{"Pass", "Pass", "Pass", "Pass", "Warn", "Pass", "Fail", "Pass"},
       {plain, plain, plain, plain, kYellow, plain, kRed, plain}},
      {{"Pass", "Pass", "Pass", "Pass", "Pass", "Pass", "Pass", "Fail"},
       {plain, plain, plain, plain, plain, plain, plain, kRed}},
  };
  for (int press = 1; press <= 2; ++press) {
    const auto& pass = passes[press - 1];
    window.clickButton([&] { return facts.monoQuestions == press; });
    ASSERT_EQ(facts.monoQuestions, press);
    EXPECT_EQ(shownColumn(window.summaryTable(), 0), testing::kRunOrder);
    EXPECT_EQ(shownColumn(window.summaryTable(), 1), pass.results);
    EXPECT_EQ(shownColumn(window.summaryTable(), 2)[1], "16.0 GigaBytes");
    for (unsigned row = 0; row < pass.colours.size(); ++row) {
      EXPECT_EQ(paintedColour(window.summaryTable(), row, 2, pass.colours[row]), pass.colours[row])
          << "pass " << press << " row " << row;
    }
    EXPECT_EQ(window.lines().resStrings(), lines[press - 1]);
    EXPECT_EQ(shownColumn(window.linesTable(), 0).size(), lines[press - 1].size());
    EXPECT_TRUE(window.button().IsEnabled());
    mend(facts);
  }
  std::setlocale(LC_ALL, "C");
}

// Tab moves summary, button, lines and round again; Return runs a pass from the button and from
// either table, as does the button's mnemonic Alt+R.
TEST(WindowTest, KeyboardAloneMovesInTheOrderShownAndRunsAPass) {
  ObservedFacts facts;
  const ShownWindow window(&facts);
  ASSERT_EQ(wxWindow::FindFocus(), &window.button());
  int passes = 0;
  const auto runsAPass = [&](int key, int modifiers) {
    testing::pressKey(key, modifiers);
    ++passes;
    return testing::processEventsUntil(
        [&] { return facts.monoQuestions == passes && !window.control().passRunning(); });
  };
  EXPECT_TRUE(runsAPass(WXK_RETURN, wxMOD_NONE)) << "on the button";

  for (wxWindow* next :
       std::vector<wxWindow*>{&window.linesTable(), &window.summaryTable(), &window.button()}) {
    testing::pressKey(WXK_TAB);
    ASSERT_EQ(wxWindow::FindFocus(), next) << next->GetName();
    if (next != &window.button()) {
      EXPECT_TRUE(runsAPass(WXK_RETURN, wxMOD_NONE)) << "in " << next->GetName();
      EXPECT_TRUE(runsAPass('r', wxMOD_ALT)) << "in " << next->GetName();
    }
  }
  EXPECT_EQ(window.summary().model().GetCount(), 8u);
}

// On the test display's 1024x768 screen the window opens within it, centred; at its smallest,
// even during a pass with the progress bar shown and the divider dragged down, every pane and the
// control strip's status and button lie whole within it.
TEST(WindowTest, OpensWithinTheScreenAndItsSmallestSizeCutsNothing) {
  const ShownWindow window(nullptr);
  wxFrame& frame = window.frame();
  const wxRect screen = wxDisplay(0u).GetClientArea();
  ASSERT_EQ(screen.GetSize(), wxSize(1024, 768));
  const wxRect opened = frame.GetScreenRect();
  EXPECT_TRUE(screen.Contains(opened));
  EXPECT_LE(opened.GetWidth(), screen.GetWidth() * 9 / 10 + 1);
  EXPECT_LE(opened.GetHeight(), screen.GetHeight() * 9 / 10 + 1);
  EXPECT_NEAR(opened.GetLeft() - screen.GetLeft(), screen.GetRight() - opened.GetRight(), 1);
  EXPECT_NEAR(opened.GetTop() - screen.GetTop(), screen.GetBottom() - opened.GetBottom(), 1);

  frame.SetSize(1, 1);
  window.pane<wxWindow>("passProgress")->Show();
  window.control().Layout();
  window.splitter("splitView").SetSashPosition(10000);
  testing::processEventsUntil([] { return false; }, std::chrono::milliseconds(200));

  const wxRect client(frame.ClientToScreen(wxPoint()), frame.GetClientSize());
  EXPECT_EQ(frame.GetClientSize(), frame.GetMinClientSize());
  for (const char* name : {"testNameView", "controlView", "testResultView", "passStatus",
                           "passProgress", "executeTest"}) {
    const wxWindow& shown = *window.pane<wxWindow>(name);
    EXPECT_TRUE(client.Contains(shown.GetScreenRect())) << name;
    EXPECT_GE(shown.GetSize().GetHeight(), shown.GetEffectiveMinSize().GetHeight()) << name;
    EXPECT_GE(shown.GetSize().GetWidth(), shown.GetEffectiveMinSize().GetWidth()) << name;
  }
}

// Closed and opened again, the window takes the size, place and divider positions it had; one
// left larger than the screen opens within it.
TEST(WindowTest, SizePlaceAndDividersAreKeptForTheNextLaunch) {
  const wxRect screen = wxDisplay(0u).GetClientArea();
  auto* first = new ShownWindow(nullptr);
  first->frame().SetSize(wxRect(100, 50, 700, 600));
  first->splitter("splitView").SetSashPosition(150);
  first->splitter("lowerSplit").SetSashPosition(70);
  testing::processEventsUntil([] { return false; }, std::chrono::milliseconds(100));
  delete first;

  auto* second = new ShownWindow(nullptr, windowLayout(), false);
  EXPECT_EQ(second->frame().GetScreenRect(), wxRect(100, 50, 700, 600));
  EXPECT_EQ(second->splitter("splitView").GetSashPosition(), 150);
  EXPECT_EQ(second->splitter("lowerSplit").GetSashPosition(), 70);
  second->frame().SetSize(wxRect(-200, 300, 3000, 2000));
  testing::processEventsUntil([] { return false; }, std::chrono::milliseconds(100));
  delete second;

  const ShownWindow third(nullptr, windowLayout(), false);
  EXPECT_TRUE(screen.Contains(third.frame().GetScreenRect()));
}

// A layout whose lines pane is of another class wires no table: the checks run into none. One
// whose panes lack their tables wires the panes, which keep the rows without showing them.
TEST(WindowTest, LayoutsWithoutTheirPanesOrTablesStillRunTheChecks) {
  const struct {
    std::vector<std::pair<const char*, const char*>> changes;
    std::size_t rowsKept;
  } cases[] = {
      {{{"subclass=\"TestResultsViewController\"", "subclass=\"wxPanel\""}}, 0},
      {{{"name=\"listTests\"", "name=\"other\""}, {"name=\"listTestResults\"", "name=\"else\""}},
       8},
  };
  for (const auto& layoutCase : cases) {
    wxString layout = windowLayout();
    for (const auto& [from, to] : layoutCase.changes) {
      ASSERT_EQ(layout.Replace(from, to), 1u) << from;
    }
    ObservedFacts facts;
    const ShownWindow window(&facts, layout);
    window.clickButton([&] { return facts.monoQuestions == 1; });
    EXPECT_EQ(facts.monoQuestions, 1);
    EXPECT_EQ(window.summary().results().size(), layoutCase.rowsKept);
    EXPECT_EQ(window.summary().model().GetCount(), 0u);
  }
}

// A machine whose Mono runtime is a real tool that answers only once the test lets it.
struct HeldMonoFacts final : testing::FakeMachineFacts {
  explicit HeldMonoFacts(const std::string& path) : monoPath(path) {}
  MonoVersionInfo monoVersion() override { return SystemValuesUtility::monoVersion({monoPath}); }
  std::string monoPath;
};

// Each row is on screen as its check ends, while the last waits for its tool; Stop (clicked, or
// Escape) ends the tool and keeps the rows; the next pass shows only its own; closing the window
// during a pass ends its tool and its threads.
TEST(WindowTest, RowsArriveAsTheyComeAndAPassCanBeStopped) {
  testing::TemporaryDirectory directory;
  const std::string mono =
      testing::writeScript(directory, "mono",
                           "echo $$ > \"$0.pid\"\nwhile [ ! -e \"$0.go\" ]; do sleep 0.01; done\n"
                           "echo 'Mono JIT compiler version 6.12.0'\n");
  const auto monoGone = [&] {
    std::ifstream file(mono + ".pid");
    pid_t pid = 0;
    return file >> pid && ::kill(pid, 0) != 0;
  };
  HeldMonoFacts facts(mono);
  std::size_t threads = 0;
  {
    const ShownWindow window(&facts);
    threads = threadCount();
    const auto monoAwaited = [&] { return window.status() == "Checking Mono Framework (8 of 8)…"; };
    enum class End { letThrough, stopClicked, escape };
    for (const End end : {End::letThrough, End::stopClicked, End::escape}) {
      SCOPED_TRACE(static_cast<int>(end));
      std::filesystem::remove(mono + ".go");
      window.clickButton(monoAwaited, false);
      ASSERT_TRUE(testing::processEventsUntil(monoAwaited));
      EXPECT_TRUE(window.control().passRunning());
      EXPECT_EQ(window.summary().model().GetCount(), 7u);
      EXPECT_EQ(window.button().GetLabelText(), "Stop");
      if (end == End::stopClicked) {
        window.clickButton([] { return true; }, false);
      } else if (end == End::escape) {
        wxUIActionSimulator().Char(WXK_ESCAPE);
      } else {
        directory.write("mono.go", "");
      }
      ASSERT_TRUE(testing::processEventsUntil([&] { return !window.control().passRunning(); }));
      const bool stopped = end != End::letThrough;
      EXPECT_EQ(window.summary().model().GetCount(), stopped ? 7u : 8u);
      EXPECT_TRUE(std::regex_match(
          window.status(), std::regex(stopped ? "Stopped during check 8 of 8, after [0-9.]+ s\\."
                                              : "0 failed, 0 warned, 8 passed in [0-9.]+ s")))
          << window.status();
      EXPECT_EQ(window.button().GetLabelText(), "Run Checks");
      EXPECT_TRUE(testing::processEventsUntil(monoGone));
    }
    // The window closes in the middle of a pass, while its Mono runs.
    std::filesystem::remove(mono + ".go");
    std::filesystem::remove(mono + ".pid");
    const auto monoStarted = [&] {
      return monoAwaited() && std::filesystem::exists(mono + ".pid");
    };
    window.clickButton(monoStarted, false);
    ASSERT_TRUE(testing::processEventsUntil(monoStarted));
    EXPECT_EQ(shownColumn(window.summaryTable(), 0),
              std::vector<std::string>(testing::kRunOrder.begin(), testing::kRunOrder.end() - 1));
  }
  EXPECT_TRUE(testing::processEventsUntil(monoGone));
  EXPECT_TRUE(testing::processEventsUntil([&] { return threadCount() == threads; }));
}

// The table panes as the layout builds them, without a pass: rows and lines go in directly, over
// the rows of an earlier pass already painted. Texts end in white space, which the cells drop.
class WindowTablesTest : public ::testing::Test, protected ShownWindow {
 protected:
  WindowTablesTest() : ShownWindow(nullptr) {
    summary().addResult("Check", "Fail", "earlier pass");
    paintedColour(summaryTable(), 0, 2, kRed);
    summary().removeAllResults();
    for (const auto& row : kRows) {
      summary().addResult(row.stored.testName, row.stored.result, row.stored.detected);
    }
    lines().appendLine("  Größe:\t1.5 GB\x1b[0m\n ");
    lines().appendLine(kLong);
    summaryTable().UnselectAll();
    button().SetFocus();
    // Until the new rows are laid out, the table gives the places of the earlier ones.
    paintedColour(summaryTable(), 1, 2, kYellow);
  }

  inline static const std::string kLong = [] {
    std::string text = "Detected:";
    for (int word = 0; word < 60; ++word) {
      text += " word" + std::to_string(word);
    }
    return text;
  }();
  struct Row {
    ResultRow stored;
    ResultRow shown;
  };
  inline static const std::vector<Row> kRows{
      {{" Ünïcode check ", "Fail", "  Größe:\t1.5 GB\x1b[0m\n "},
       {" Ünïcode check", "Fail", "  Größe:\t1.5 GB\x1b[0m"}},
      {{"Check", "Warn", ""}, {"Check", "Warn", ""}},
      {{"Check", "Pass", kLong + "\n"}, {"Check", "Pass", kLong}},
      {{"Check", "fail", "x"}, {"Check", "fail", "x"}},
      {{"Check", "WARN", "x"}, {"Check", "WARN", "x"}},
      {{"Check", "Fail ", "x"}, {"Check", "Fail", "x"}},
      {{"Check", "", "x"}, {"Check", "", "x"}},
  };
};

// Each column under its title shows its own field; only "Fail" and "Warn" rows are coloured,
// read back from the screen at the end of the last column; a row whose text ended in a
// line end is no taller than the others.
TEST_F(WindowTablesTest, ColumnsShowTheirFieldsInTheStatusColour) {
  const wxColour plain = summaryTable().GetBackgroundColour();
  const std::vector<std::pair<const char*, std::string ResultRow::*>> columns{
      {"Check", &ResultRow::testName},
      {"Result", &ResultRow::result},
      {"Detected", &ResultRow::detected}};
  ASSERT_EQ(summaryTable().GetColumnCount(), columns.size());
  for (unsigned column = 0; column < columns.size(); ++column) {
    EXPECT_EQ(summaryTable().GetColumn(column)->GetTitle(), columns[column].first);
    std::vector<std::string> cells;
    for (const Row& row : kRows) {
      cells.push_back(row.shown.*columns[column].second);
    }
    EXPECT_EQ(shownColumn(summaryTable(), column), cells) << columns[column].first;
  }
  const std::vector<wxColour> colours{kRed, kYellow, plain, plain, plain, plain, plain};
  for (unsigned row = 0; row < kRows.size(); ++row) {
    EXPECT_EQ(paintedColour(summaryTable(), row, 2, colours[row]), colours[row])
        << '"' << kRows[row].stored.result << '"';
    EXPECT_EQ(testing::shownCell(summaryTable(), row, 0).GetHeight(),
              testing::shownCell(summaryTable(), 0, 0).GetHeight());
  }
  ASSERT_EQ(linesTable().GetColumnCount(), 1u);
  EXPECT_EQ(linesTable().GetColumn(0)->GetTitle(), "Result line");
  EXPECT_EQ(shownColumn(linesTable(), 0),
            (std::vector<std::string>{"  Größe:\t1.5 GB\x1b[0m", kLong}));
}

// The pointer over a cell whose text does not fit shows the whole text, over one that fits
// nothing; Ctrl+C copies the selected rows in table order as stored, tab-separated.
TEST_F(WindowTablesTest, PointerShowsCutTextsWholeAndCtrlCCopiesAsStored) {
  const struct {
    wxDataViewCtrl& table;
    unsigned row;
    unsigned column;
    std::string tip;
  } cells[] = {
      {summaryTable(), 2, 2, kLong},
      {summaryTable(), 1, 2, ""},
      {summaryTable(), 2, 0, ""},
      {linesTable(), 1, 0, kLong},
  };
  for (const auto& cell : cells) {
    const wxRect rect = testing::shownCell(cell.table, cell.row, cell.column);
    wxUIActionSimulator().MouseMove(cell.table.ClientToScreen(
        wxPoint(rect.GetLeft() + 10, rect.GetTop() + rect.GetHeight() / 2)));
    EXPECT_TRUE(testing::processEventsUntil(
        [&] { return cell.table.GetToolTipText().utf8_string() == cell.tip; },
        std::chrono::seconds(2)))
        << cell.table.GetName() << " row " << cell.row << " column " << cell.column;
  }

  wxDataViewItemArray rows;
  rows.push_back(summary().model().GetItem(2));
  rows.push_back(summary().model().GetItem(0));
  summaryTable().SetSelections(rows);
  summaryTable().SetFocus();
  testing::pressKey('c', wxMOD_CONTROL);
  EXPECT_EQ(testing::copiedText(),
            " Ünïcode check \tFail\t  Größe:\t1.5 GB\x1b[0m\n \n"
            "Check\tPass\t" +
                kLong + "\n\n");
}

}  // namespace
}  // namespace tarq
