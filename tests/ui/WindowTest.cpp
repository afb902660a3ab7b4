#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/config.h>
#include <wx/dataview.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/FakeTool.h"
#include "support/ProcessCensus.h"
#include "support/Tables.h"
#include "ui/ControlViewController.h"
#include "ui/MainWindow.h"
#include "ui/MenuBar.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"
#include "validation/CheckHarness.h"

// Colours in test messages as "rgb(255, 0, 0)".
void PrintTo(const wxColour& colour, std::ostream* out) {
  *out << colour.GetAsString(wxC2S_CSS_SYNTAX);
}

// What the X server shows at a point of the screen; UiTestMain.cpp reads it, away from the
// toolkit's headers, which Xlib's macros would break.
wxColour screenColourAt(const wxPoint& point);

namespace tarq {
namespace {
// Runs the event loop until `done` holds or `limit` has passed; says whether it holds.
bool processEventsUntil(const std::function<bool()>& done,
                        std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// The program's window as the layout builds it, with the checks asking `facts` (null: this
// machine), shown on the test display. On a first launch it forgets the shape earlier windows
// left in the tests' configuration.
class ShownWindow {
 public:
  explicit ShownWindow(MachineFacts* facts, const wxString& layout = windowLayout(),
                       bool firstLaunch = true) {
    if (firstLaunch) {
      wxConfigBase::Get()->DeleteAll();
    }
    frame_ = createMainWindow(layout, facts);
    frame_->Show();
    processEventsUntil([this] { return frame_->IsShownOnScreen(); });
    // Let the first layout and paint settle before input arrives.
    processEventsUntil([] { return false; }, std::chrono::milliseconds(300));
  }
  // Closed as a person closes it, and gone before what it used goes: what was still on its way
  // to it has arrived.
  ~ShownWindow() {
    frame_->Destroy();
    processEventsUntil([this] { return wxTopLevelWindows.Find(frame_) == nullptr; });
  }
  ShownWindow(const ShownWindow&) = delete;
  ShownWindow& operator=(const ShownWindow&) = delete;

  template <typename Pane>
  Pane* pane(const char* name) const {
    return dynamic_cast<Pane*>(frame_->FindWindow(XRCID(name)));
  }
  TestNameViewController& summary() const { return *pane<TestNameViewController>("testNameView"); }
  TestResultsViewController& lines() const {
    return *pane<TestResultsViewController>("testResultView");
  }
  wxButton& button() const { return *pane<wxButton>("executeTest"); }
  wxDataViewCtrl& summaryTable() const { return *summary().listTests(); }
  wxDataViewCtrl& linesTable() const { return *lines().listTestResults(); }
  wxFrame& frame() const { return *frame_; }
  ControlViewController& control() const { return *pane<ControlViewController>("controlView"); }
  std::string status() const { return pane<wxWindow>("passStatus")->GetLabel().utf8_string(); }

  // Gives the window its menu bar, as the program does; the panes move down to make room for it.
  void installMenu() const {
    installMenuBar(*frame_);
    processEventsUntil([] { return false; }, std::chrono::milliseconds(300));
  }
  // A menu item's state as the menu shows it when opened.
  bool enabled(int item) const {
    frame_->UpdateWindowUI();
    return frame_->GetMenuBar()->IsEnabled(item);
  }
  std::string label(int item) const {
    frame_->UpdateWindowUI();
    return wxMenuItem::GetLabelText(frame_->GetMenuBar()->GetLabel(item)).utf8_string();
  }

  // Presses the execute button as a person does, with a real mouse click; says whether, within a
  // while, `pressed` holds and, unless told not to, no pass runs.
  bool clickButton(const std::function<bool()>& pressed, bool untilEnded = true) const {
    wxUIActionSimulator input;
    const wxRect area = button().GetScreenRect();
    input.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
    processEventsUntil([] { return false; }, std::chrono::milliseconds(50));
    input.MouseClick();
    return processEventsUntil(
        [&] { return pressed() && !(untilEnded && control().passRunning()); });
  }

 private:
  wxFrame* frame_;
};

// Presses a key as a person does; waits until the window has taken it in.
void pressKey(int key, int modifiers = wxMOD_NONE) {
  wxUIActionSimulator().Char(key, modifiers);
  processEventsUntil([] { return false; }, std::chrono::milliseconds(50));
}

// The text on the clipboard, once there is some (empty if none comes), which leaves it empty.
std::string copiedText() {
  std::string copied;
  processEventsUntil([&] {
    wxClipboardLocker clipboard;
    wxTextDataObject text;
    if (!!clipboard && wxTheClipboard->GetData(text)) {
      copied = text.GetText().utf8_string();
      wxTheClipboard->Clear();
    }
    return !copied.empty();
  });
  return copied;
}

// What a table shows, row by row, in its column `column` counted from the left, as UTF-8.
std::vector<std::string> shownColumn(const wxDataViewCtrl& table, unsigned column) {
  std::vector<std::string> cells;
  const auto& model = dynamic_cast<const wxDataViewVirtualListModel&>(*table.GetModel());
  const unsigned modelColumn = table.GetColumn(column)->GetModelColumn();
  for (unsigned row = 0; row < model.GetCount(); ++row) {
    wxVariant value;
    model.GetValueByRow(value, row, modelColumn);
    if (value.GetType() == "wxDataViewIconText") {
      wxDataViewIconText iconText;
      iconText << value;
      cells.push_back(iconText.GetText().utf8_string());
    } else {
      cells.push_back(value.GetString().utf8_string());
    }
  }
  return cells;
}

// Where `table` shows the cell of `row` in its column `column` counted from the left, in its client
// coordinates.
wxRect shownCell(const wxDataViewCtrl& table, unsigned row, unsigned column) {
  const auto& model = dynamic_cast<const wxDataViewVirtualListModel&>(*table.GetModel());
  return table.GetItemRect(model.GetItem(row), table.GetColumn(column));
}

// The colour the screen shows in the middle of a cell, once it is `expected` or, after a while,
// whatever it is: the window lays out and paints in its own time, so the cell's place is asked
// afresh each time.
wxColour paintedColour(const wxDataViewCtrl& table, unsigned row, unsigned column,
                       const wxColour& expected) {
  wxColour painted;
  processEventsUntil(
      [&] {
        const wxRect cell = shownCell(table, row, column);
        painted = screenColourAt(table.ClientToScreen(cell.GetPosition() + cell.GetSize() / 2));
        return painted == expected;
      },
      std::chrono::seconds(2));
  return painted;
}

const wxColour kRed(255, 0, 0);
const wxColour kYellow(255, 255, 0);

// A machine whose last check counts how often a pass asked for its fact; with `heldMono` set, a
// real tool there gives the fact.
struct ObservedFacts final : testing::FakeMachineFacts {
  MonoVersionInfo monoVersion() override {
    ++monoQuestions;
    return heldMono.empty() ? FakeMachineFacts::monoVersion()
                            : SystemValuesUtility::monoVersion({heldMono});
  }
  std::atomic<int> monoQuestions = 0;
  std::string heldMono;
};

// Each press shows one pass, rows and lines, in the status colours read back from the screen; a
// later pass on a mended machine leaves no colour, row or line of the first. Under a German locale
// the texts keep their full stops. A click runs a pass, as does the keyboard alone: Return on the
// button, Tab to the lines and Return, Tab to the summary and Return or the button's mnemonic
// Alt+R; a last Tab goes round to the button for a click.
TEST(WindowTest, EachPressFromMouseOrKeyboardShowsOnePassOfRowsAndLinesInTheirColours) {
  ObservedFacts facts;
  facts.usbVersion = 0;  // warns: unknown USB version
  facts.chrome = {};     // fails: no browser
  const ShownWindow window(&facts);
  const wxColour plain = window.summaryTable().GetBackgroundColour();
  const std::vector<std::string> results[] = {
      {"Pass", "Pass", "Pass", "Pass", "Warn", "Pass", "Fail", "Pass"},
      {"Pass", "Pass", "Pass", "Pass", "Pass", "Pass", "Pass", "Fail"}};
  const struct {
    wxWindow* focus;
    int key, modifiers;  // key 0: a click
  } presses[] = {{&window.button(), 0, wxMOD_NONE},
                 {&window.button(), WXK_RETURN, wxMOD_NONE},
                 {&window.linesTable(), WXK_RETURN, wxMOD_NONE},
                 {&window.summaryTable(), WXK_RETURN, wxMOD_NONE},
                 {&window.summaryTable(), 'r', wxMOD_ALT},
                 {&window.button(), 0, wxMOD_NONE}};
  ASSERT_EQ(wxWindow::FindFocus(), &window.button());
  for (int pass = 1; pass <= 6; ++pass) {
    const auto& press = presses[pass - 1];
    SCOPED_TRACE(pass);
    if (wxWindow::FindFocus() != press.focus) {
      pressKey(WXK_TAB);
    }
    ASSERT_EQ(wxWindow::FindFocus(), press.focus);
    testing::WiredRunner headless(facts);
    headless.runner.runAllTests();
    const auto ended = [&] {
      return facts.monoQuestions == 2 * pass && !window.control().passRunning();
    };
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/bootstrap installs it";
    if (press.key == 0) {
      window.clickButton(ended);
    } else {
      pressKey(press.key, press.modifiers);
    }
    const bool ran = processEventsUntil(ended);
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(ran);
    EXPECT_EQ(shownColumn(window.summaryTable(), 0), testing::kRunOrder);
    EXPECT_EQ(shownColumn(window.summaryTable(), 1), results[pass == 1 ? 0 : 1]);
    EXPECT_EQ(shownColumn(window.summaryTable(), 2)[1], "16.0 GigaBytes");
    // After Return the toolkit may draw over some rows for a while: colours read after clicks.
    for (unsigned row = 0; row < 8 && press.key == 0; ++row) {
      const std::string& result = results[pass == 1 ? 0 : 1][row];
      const wxColour colour = result == "Fail" ? kRed : result == "Warn" ? kYellow : plain;
      EXPECT_EQ(paintedColour(window.summaryTable(), row, 2, colour), colour) << "row " << row;
    }
    EXPECT_EQ(window.lines().resStrings(), headless.lines.resStrings());
    EXPECT_EQ(shownColumn(window.linesTable(), 0).size(), headless.lines.resStrings().size());
    // The warning and the failure mended, and Mono gone.
    facts.usbVersion = 3.1;
    facts.chrome = {"/Applications/Google Chrome.app", "Google Chrome 120.0.6099.129"};
    facts.mono = {"", "Unable to find the Mono Framework", 0};
  }
}

// On the test display's 1024x768 screen the window first opens within it, centred; at its smallest,
// even during a pass with the progress bar shown and the divider dragged down, every pane and the
// control strip's status and button lie whole within it. Closed and opened again, it takes the
// size, place and divider positions it had; one left larger than the screen opens within it.
TEST(WindowTest, OpensWithinTheScreenCutsNothingAndKeepsItsShape) {
  const wxRect screen = wxDisplay(0u).GetClientArea();
  ASSERT_EQ(screen.GetSize(), wxSize(1024, 768));
  std::optional<ShownWindow> window(std::in_place, nullptr);
  const wxRect opened = window->frame().GetScreenRect();
  EXPECT_EQ(opened, wxRect(opened.GetSize()).CentreIn(screen));
  EXPECT_LE(opened.GetWidth(), screen.GetWidth() * 9 / 10 + 1);
  EXPECT_LE(opened.GetHeight(), screen.GetHeight() * 9 / 10 + 1);

  window->frame().SetSize(1, 1);
  window->pane<wxWindow>("passProgress")->Show();
  window->control().Layout();
  window->pane<wxSplitterWindow>("splitView")->SetSashPosition(10000);
  processEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  const wxFrame& frame = window->frame();
  const wxRect client(frame.ClientToScreen(wxPoint()), frame.GetClientSize());
  EXPECT_EQ(frame.GetClientSize(), frame.GetMinClientSize());
  for (const char* name : {"testNameView", "controlView", "testResultView", "passStatus",
                           "passProgress", "executeTest"}) {
    const wxWindow& shown = *window->pane<wxWindow>(name);
    EXPECT_TRUE(client.Contains(shown.GetScreenRect())) << name;
    EXPECT_GE(shown.GetSize().GetHeight(), shown.GetEffectiveMinSize().GetHeight()) << name;
    EXPECT_GE(shown.GetSize().GetWidth(), shown.GetEffectiveMinSize().GetWidth()) << name;
  }

  window->frame().SetSize(wxRect(100, 50, 700, 600));
  window->pane<wxSplitterWindow>("splitView")->SetSashPosition(150);
  window->pane<wxSplitterWindow>("lowerSplit")->SetSashPosition(70);
  processEventsUntil([] { return false; }, std::chrono::milliseconds(100));
  window.emplace(nullptr, windowLayout(), false);
  EXPECT_EQ(window->frame().GetScreenRect(), wxRect(100, 50, 700, 600));
  EXPECT_EQ(window->pane<wxSplitterWindow>("splitView")->GetSashPosition(), 150);
  EXPECT_EQ(window->pane<wxSplitterWindow>("lowerSplit")->GetSashPosition(), 70);
  window->frame().SetSize(wxRect(-200, 300, 3000, 2000));
  processEventsUntil([] { return false; }, std::chrono::milliseconds(100));
  window.emplace(nullptr, windowLayout(), false);
  EXPECT_TRUE(screen.Contains(window->frame().GetScreenRect()));
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
    EXPECT_TRUE(window.clickButton([&] { return facts.monoQuestions == 1; }));
    EXPECT_EQ(window.summary().results().size(), layoutCase.rowsKept);
    EXPECT_EQ(window.summary().model().GetCount(), 0u);
  }
}

// The table panes as the layout builds them, without a pass: rows and lines go in directly, over
// the rows of an earlier pass already painted. Texts end in white space, which the cells drop.
// Each column under its title shows its own field; only "Fail" and "Warn" rows are coloured, read
// back from the screen at the end of the last column.
// Then the pointer over a cell whose text does not fit shows the whole text, over one that fits
// nothing; Ctrl+C copies the selected rows in table order as stored, tab-separated. With the menu
// bar, Edit's items act on the table that has the focus: Select All selects its rows and Copy
// copies them as the table's own Ctrl+C does.
TEST(WindowTest, TablesShowTheirFieldsInColourShowCutTextsWholeAndCopyTheStoredTexts) {
  const ShownWindow window(nullptr);
  std::string longText = "Detected:";
  for (int word = 0; word < 60; ++word) {
    longText += " word" + std::to_string(word);
  }
  const std::vector<ResultRow> given{
      {" Ünïcode check ", "Fail", "  Größe:\t1.5 GB\x1b[0m\n "},
      {"Check", "Warn", ""},
      {"Check", "Pass", longText + "\n"},
      {"Check", "fail", "x"},
      {"Check", "WARN", "x"},
      {"Check", "Fail ", "x"},
      {"Check", "", "x"},
  };
  window.summary().addResult("Check", "Fail", "earlier pass");
  paintedColour(window.summaryTable(), 0, 2, kRed);
  window.summary().removeAllResults();
  for (const auto& row : given) {
    window.summary().addResult(row.testName, row.result, row.detected);
  }
  window.lines().appendLine("  Größe:\t1.5 GB\x1b[0m\n ");
  window.lines().appendLine(longText);
  window.summaryTable().UnselectAll();
  window.button().SetFocus();
  // Until the new rows are laid out, the table gives the places of the earlier ones.
  paintedColour(window.summaryTable(), 1, 2, kYellow);
  const char* titles[] = {"Check", "Result", "Detected"};
  const std::vector<std::string> shown[] = {
      {" Ünïcode check", "Check", "Check", "Check", "Check", "Check", "Check"},
      {"Fail", "Warn", "Pass", "fail", "WARN", "Fail", ""},
      {"  Größe:\t1.5 GB\x1b[0m", "", longText, "x", "x", "x", "x"},
  };
  ASSERT_EQ(window.summaryTable().GetColumnCount(), 3u);
  for (unsigned column = 0; column < 3; ++column) {
    EXPECT_EQ(window.summaryTable().GetColumn(column)->GetTitle(), titles[column]);
    EXPECT_EQ(shownColumn(window.summaryTable(), column), shown[column]) << titles[column];
  }
  const wxColour plain = window.summaryTable().GetBackgroundColour();
  const std::vector<wxColour> colours{kRed, kYellow, plain, plain, plain, plain, plain};
  for (unsigned row = 0; row < given.size(); ++row) {
    EXPECT_EQ(paintedColour(window.summaryTable(), row, 2, colours[row]), colours[row])
        << '"' << given[row].result << '"';
  }
  ASSERT_EQ(window.linesTable().GetColumnCount(), 1u);
  EXPECT_EQ(window.linesTable().GetColumn(0)->GetTitle(), "Result line");
  EXPECT_EQ(shownColumn(window.linesTable(), 0), (std::vector<std::string>{shown[2][0], longText}));
  const struct {
    wxDataViewCtrl& table;
    unsigned row, column;
    std::string tip;
  } cells[] = {
      {window.summaryTable(), 2, 2, longText},
      {window.summaryTable(), 2, 0, ""},  // and the tip before it gone
      {window.linesTable(), 1, 0, longText},
  };
  for (const auto& cell : cells) {
    const wxRect rect = shownCell(cell.table, cell.row, cell.column);
    wxUIActionSimulator().MouseMove(cell.table.ClientToScreen(
        wxPoint(rect.GetLeft() + 10, rect.GetTop() + rect.GetHeight() / 2)));
    EXPECT_TRUE(
        processEventsUntil([&] { return cell.table.GetToolTipText().utf8_string() == cell.tip; },
                           std::chrono::seconds(2)))
        << cell.table.GetName() << " row " << cell.row << " column " << cell.column;
  }

  window.summaryTable().Select(window.summary().model().GetItem(2));
  window.summaryTable().Select(window.summary().model().GetItem(0));
  window.summaryTable().SetFocus();
  pressKey('c', wxMOD_CONTROL);
  EXPECT_EQ(copiedText(),
            " Ünïcode check \tFail\t  Größe:\t1.5 GB\x1b[0m\n \n"
            "Check\tPass\t" +
                longText + "\n\n");

  window.installMenu();
  window.button().SetFocus();
  EXPECT_FALSE(window.enabled(wxID_COPY));
  EXPECT_FALSE(window.enabled(wxID_SELECTALL));
  window.linesTable().SetFocus();
  processEventsUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_FALSE(window.enabled(wxID_COPY));
  EXPECT_TRUE(window.enabled(wxID_SELECTALL));
  // Through the menus as a person opens them from the keyboard: Alt+E, then the item's letter.
  pressKey('e', wxMOD_ALT);
  processEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  pressKey('a');
  ASSERT_TRUE(processEventsUntil([&] { return window.linesTable().GetSelectedItemsCount() == 2; }));
  EXPECT_TRUE(window.enabled(wxID_COPY));
  pressKey('e', wxMOD_ALT);
  processEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  pressKey('c');
  EXPECT_EQ(copiedText(), "  Größe:\t1.5 GB\x1b[0m\n \n" + longText + "\n");
}

// Chosen type 0 is text, 1 JSON.
TEST(WindowTest, ReportTypeFollowsTheNameElseTheChosenType) {
  testing::expectEach<std::pair<const char*, int>, std::pair<std::string, bool>>(
      [](const auto& chosen) {
        const ReportFile file = reportFileFor(chosen.first, chosen.second);
        return std::pair(file.path.utf8_string(), file.json);
      },
      {{{"/r/a.json", 0}, {"/r/a.json", true}},
       {{"/r/a.TXT", 1}, {"/r/a.TXT", false}},
       {{"/r/a", 1}, {"/r/a.json", true}},
       {{"/r/a", 0}, {"/r/a.txt", false}},
       {{"/r/a.json.old", 0}, {"/r/a.json.old.txt", false}}});
}

// Each row is on screen as its check ends, while the last waits for its tool, and the button and
// the menu offer Stop. Stop (clicked, Escape or Ctrl+R) ends the tool and the pass's thread, and
// keeps the rows, which nothing from the stopped pass changes later; the next pass shows only its
// own. A report can be saved only from a pass that ran to its end. Closing the window during a pass
// ends its tool and its thread.
TEST(WindowTest, RowsArriveAsTheyComeAndAPassStopsFromButtonKeyOrMenu) {
  testing::TemporaryDirectory directory;
  const std::string mono = testing::writeScript(directory, "mono",
                                                "while [ ! -e \"$0.go\" ]; do sleep 0.01; done\n"
                                                "echo 'Mono JIT compiler version 6.12.0'\n");
  ObservedFacts facts;
  facts.heldMono = mono;
  auto window = std::make_unique<ShownWindow>(&facts);
  window->installMenu();
  const testing::ProcessCensus before = testing::ProcessCensus::take();
  const auto passGone = [&] {
    const testing::ProcessCensus now = testing::ProcessCensus::take();
    return now.threads == before.threads && now.childProcesses == before.childProcesses;
  };
  EXPECT_FALSE(window->enabled(wxID_SAVE));
  // Whatever the locale (these tests run under the C locale).
  EXPECT_EQ(window->label(wxID_SAVE), "Save Report…");

  const std::pair<std::string, std::function<void()>> ends[] = {
      {"let through", [&] { directory.write("mono.go", ""); }},
      {"Stop clicked", [&] { window->clickButton([] { return true; }, false); }},
      {"Escape", [] { pressKey(WXK_ESCAPE); }},
      {"Ctrl+R", [] { pressKey('r', wxMOD_CONTROL); }},
      {"window closed", [&] { window.reset(); }}};
  for (const auto& [end, endPass] : ends) {
    SCOPED_TRACE(end);
    std::filesystem::remove(mono + ".go");
    ASSERT_TRUE(window->clickButton(
        [&] {
          return window->status() == "Checking Mono Framework (8 of 8)…" &&
                 testing::ProcessCensus::take().childProcesses > before.childProcesses;
        },
        false));
    EXPECT_EQ(window->summary().model().GetCount(), 7u);
    EXPECT_EQ(window->button().GetLabelText(), "Stop");
    EXPECT_EQ(window->label(wxID_EXECUTE), "Stop");
    EXPECT_FALSE(window->enabled(wxID_SAVE));
    endPass();
    if (!window) {
      EXPECT_TRUE(processEventsUntil(passGone));
      break;
    }
    ASSERT_TRUE(processEventsUntil([&] { return !window->control().passRunning() && passGone(); }));
    // What the pass's thread posted before it ended has arrived.
    wxTheApp->Yield(true);
    const bool stopped = end != "let through";
    EXPECT_EQ(window->summary().model().GetCount(), stopped ? 7u : 8u);
    EXPECT_THAT(window->status(), ::testing::MatchesRegex(
                                      stopped ? "Stopped during check 8 of 8, after [0-9.]+ m?s\\."
                                              : "0 failed, 0 warned, 8 passed in [0-9.]+ m?s"));
    EXPECT_EQ(window->button().GetLabelText(), "Run Checks");
    EXPECT_EQ(window->label(wxID_EXECUTE), "Run Checks");
    EXPECT_EQ(window->enabled(wxID_SAVE), !stopped);
  }
}

}  // namespace
}  // namespace tarq
