#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/display.h>

#include <atomic>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <regex>

#include "support/FakeTool.h"
#include "ui/StatusColours.h"
#include "ui/WindowHarness.h"

namespace tarq {
namespace {

using testing::shownColumn;
using testing::ShownWindow;

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

std::vector<std::string> expectedLines() {
  ObservedFacts facts;
  testing::WiredRunner wired(facts);
  wired.runner.runAllTests();
  return wired.lines.resStrings();
}

TEST(WindowTest, PressShowsOnePassOfRowsAndLinesAndTwoPressesLeaveOne) {
  ObservedFacts facts;
  const std::vector<std::string> lines = expectedLines();
  const ShownWindow window(&facts);
  EXPECT_EQ(window.summary().model().GetCount(), 0u);
  EXPECT_EQ(window.lines().model().GetCount(), 0u);

  for (int press = 1; press <= 2; ++press) {
    window.pressExecuteButton([&] { return facts.monoQuestions == press; });
    ASSERT_EQ(facts.monoQuestions, press);

    EXPECT_EQ(shownColumn(window.summaryTable(), 0), testing::kRunOrder);
    EXPECT_EQ(
        shownColumn(window.summaryTable(), 1),
        (std::vector<std::string>{"Pass", "Pass", "Pass", "Pass", "Warn", "Pass", "Fail", "Pass"}));
    EXPECT_EQ(window.lines().resStrings(), lines);
    EXPECT_EQ(shownColumn(window.linesTable(), 0).size(), lines.size());
    EXPECT_TRUE(window.button().IsEnabled());
  }
}

int rowHeight(const wxDataViewCtrl& table, unsigned row) {
  return testing::shownCell(table, row, 0).GetHeight();
}

// The browser's version answer ends in a line end: the cells show it without, on rows as high as
// the others, and Ctrl+C copies the rows as the check gave them.
TEST(WindowTest, CellsDropTrailingLineEndsThatCtrlCCopies) {
  ObservedFacts facts;
  facts.chrome = {"/Applications/Google Chrome.app", "Google Chrome 120.0.6099.129 \n"};
  const ShownWindow window(&facts);
  window.pressExecuteButton([&] { return facts.monoQuestions == 1; });
  wxDataViewCtrl& table = window.summaryTable();
  EXPECT_EQ(shownColumn(table, 2)[6], "Google Chrome 120.0.6099.129");
  EXPECT_EQ(rowHeight(table, 6), rowHeight(table, 5));
  const std::vector<std::string> lines = shownColumn(window.linesTable(), 0);
  const auto version =
      std::find(lines.begin(), lines.end(), "Google Chrome Version: Google Chrome 120.0.6099.129");
  ASSERT_NE(version, lines.end());
  const auto versionRow = static_cast<unsigned>(version - lines.begin());
  EXPECT_EQ(rowHeight(window.linesTable(), versionRow), rowHeight(window.linesTable(), 0));

  wxDataViewItemArray rows;
  rows.push_back(window.summary().model().GetItem(6));
  rows.push_back(window.summary().model().GetItem(4));
  table.SetSelections(rows);
  table.SetFocus();
  testing::pressKey('c', wxMOD_CONTROL);
  std::string copied;
  testing::processEventsUntil([&] {
    wxClipboardLocker clipboard;
    wxTextDataObject text;
    if (!!clipboard && wxTheClipboard->GetData(text)) {
      copied = text.GetText().utf8_string();
    }
    return !copied.empty();
  });

  EXPECT_EQ(copied,
            "USB 2.0/3.0/3.1\tWarn\tUnable to determine USB versions available on device\n"
            "Supported Browsers\tPass\tGoogle Chrome 120.0.6099.129 \n\n");
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

  const std::vector<wxWindow*> tabOrder{&window.linesTable(), &window.summaryTable(),
                                        &window.button()};
  for (wxWindow* next : tabOrder) {
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

TEST(WindowTest, LayoutWithAnotherPaneClassRunsTheChecksIntoNoTable) {
  wxString layout = windowLayout();
  ASSERT_EQ(layout.Replace("subclass=\"TestResultsViewController\"", "subclass=\"wxPanel\""), 1u);
  ObservedFacts facts;
  const ShownWindow window(&facts, layout);

  window.pressExecuteButton([&] { return facts.monoQuestions == 1; });

  EXPECT_EQ(facts.monoQuestions, 1);
  EXPECT_TRUE(window.summary().results().empty());
  EXPECT_EQ(window.summary().model().GetCount(), 0u);
}

TEST(WindowTest, TextsKeepTheirFullStopsUnderAGermanLocale) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr ||
      std::localeconv()->decimal_point != std::string(",")) {
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
  }
  ObservedFacts facts;
  const ShownWindow window(&facts);
  window.pressExecuteButton([&] { return facts.monoQuestions == 1; });
  std::setlocale(LC_ALL, "C");

  const std::vector<std::string> shown = shownColumn(window.linesTable(), 0);
  EXPECT_NE(std::find(shown.begin(), shown.end(), "Memory Size:16.0 GigaBytes"), shown.end());
  EXPECT_NE(std::find(shown.begin(), shown.end(), "Processor Speed: 2.6GHz"), shown.end());
  EXPECT_EQ(shownColumn(window.summaryTable(), 2)[1], "16.0 GigaBytes");
}

TEST(WindowTest, PressRunsEveryCheckOnThisMachine) {
  const ShownWindow window(nullptr);

  window.pressExecuteButton([&] { return window.summary().model().GetCount() == 8; });

  EXPECT_EQ(shownColumn(window.summaryTable(), 0), testing::kRunOrder);
  EXPECT_FALSE(window.lines().resStrings().empty());
}

// A machine whose Mono runtime is a real tool that answers only once the test lets it.
struct HeldMonoFacts final : testing::FakeMachineFacts {
  explicit HeldMonoFacts(const std::string& path) : monoPath(path) {}
  MonoVersionInfo monoVersion() override { return SystemValuesUtility::monoVersion({monoPath}); }
  std::string monoPath;
};

std::string statusText(const testing::LaidOutWindow& window) {
  return window.pane<wxWindow>("passStatus")->GetLabel().utf8_string();
}

// Each row is on screen as its check ends, while the last waits for its tool; Stop (Escape)
// ends the tool and keeps the rows; the next pass shows only its own; closing the window during
// a pass ends its tool and its threads.
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
    const auto sevenRowsShown = [&] { return window.summary().model().GetCount() == 7; };
    for (const bool stop : {false, true}) {
      SCOPED_TRACE(stop ? "stopped" : "let through");
      std::filesystem::remove(mono + ".go");
      window.pressExecuteButton(sevenRowsShown, false);
      ASSERT_TRUE(testing::processEventsUntil(sevenRowsShown));
      EXPECT_TRUE(window.control().passRunning());
      EXPECT_EQ(statusText(window), "Checking Mono Framework (8 of 8)…");
      EXPECT_EQ(window.button().GetLabelText(), "Stop");
      if (stop) {
        wxUIActionSimulator().Char(WXK_ESCAPE);
      } else {
        directory.write("mono.go", "");
      }
      ASSERT_TRUE(testing::processEventsUntil([&] { return !window.control().passRunning(); }));
      EXPECT_EQ(window.summary().model().GetCount(), stop ? 7u : 8u);
      EXPECT_TRUE(std::regex_match(
          statusText(window), std::regex(stop ? "Stopped during check 8 of 8, after [0-9.]+ s\\."
                                              : "0 failed, 0 warned, 8 passed in [0-9.]+ s")))
          << statusText(window);
      EXPECT_EQ(window.button().GetLabelText(), "Run Checks");
      EXPECT_TRUE(testing::processEventsUntil(monoGone));
    }
    // The window closes in the middle of a pass, while its Mono runs.
    std::filesystem::remove(mono + ".go");
    std::filesystem::remove(mono + ".pid");
    const auto monoAwaited = [&] {
      return statusText(window) == "Checking Mono Framework (8 of 8)…" &&
             std::filesystem::exists(mono + ".pid");
    };
    window.pressExecuteButton(monoAwaited, false);
    ASSERT_TRUE(testing::processEventsUntil(monoAwaited));
    EXPECT_EQ(shownColumn(window.summaryTable(), 0),
              std::vector<std::string>(testing::kRunOrder.begin(), testing::kRunOrder.end() - 1));
  }
  EXPECT_TRUE(testing::processEventsUntil(monoGone));
  EXPECT_TRUE(testing::processEventsUntil([&] { return threadCount() == threads; }));
}

}  // namespace
}  // namespace tarq
