#include <gtest/gtest.h>
#include <wx/clipbrd.h>

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

    EXPECT_EQ(shownColumn(window.summary().model(), 0), testing::kRunOrder);
    EXPECT_EQ(
        shownColumn(window.summary().model(), 1),
        (std::vector<std::string>{"Pass", "Pass", "Pass", "Pass", "Warn", "Pass", "Fail", "Pass"}));
    EXPECT_EQ(shownColumn(window.lines().model(), 0), lines);
    EXPECT_TRUE(window.button().IsEnabled());
  }
  // The colours the table draws come from the model's attributes.
  wxDataViewItemAttr attr;
  ASSERT_TRUE(window.summary().model().GetAttrByRow(4, 2, attr));
  EXPECT_EQ(attr.GetBackgroundColour(), wxColour(255, 255, 0));
  ASSERT_TRUE(window.summary().model().GetAttrByRow(6, 0, attr));
  EXPECT_EQ(attr.GetBackgroundColour(), wxColour(255, 0, 0));
  EXPECT_FALSE(window.summary().model().GetAttrByRow(0, 0, attr));
}

TEST(WindowTest, CtrlCCopiesTheSelectedRowsAsTabSeparatedText) {
  ObservedFacts facts;
  const ShownWindow window(&facts);
  window.pressExecuteButton([&] { return facts.monoQuestions == 1; });
  wxDataViewCtrl& table = *window.summary().listTests();
  wxDataViewItemArray rows;
  rows.push_back(window.summary().model().GetItem(6));
  rows.push_back(window.summary().model().GetItem(4));
  table.SetSelections(rows);
  table.SetFocus();

  wxUIActionSimulator input;
  input.Char('c', wxMOD_CONTROL);
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
            "Supported Browsers\tFail\tUnable to find Google Chrome\n");
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

  const std::vector<std::string> shown = shownColumn(window.lines().model(), 0);
  EXPECT_NE(std::find(shown.begin(), shown.end(), "Memory Size:16.0 GigaBytes"), shown.end());
  EXPECT_NE(std::find(shown.begin(), shown.end(), "Processor Speed: 2.6GHz"), shown.end());
  EXPECT_EQ(shownColumn(window.summary().model(), 2)[1], "16.0 GigaBytes");
}

TEST(WindowTest, PressRunsEveryCheckOnThisMachine) {
  const ShownWindow window(nullptr);

  window.pressExecuteButton([&] { return window.summary().model().GetCount() == 8; });

  EXPECT_EQ(shownColumn(window.summary().model(), 0), testing::kRunOrder);
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
      EXPECT_EQ(window.button().GetLabel(), "Stop");
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
      EXPECT_EQ(window.button().GetLabel(), "Run Checks");
      EXPECT_TRUE(testing::processEventsUntil(monoGone));
    }
    // The window closes in the middle of a pass.
    std::filesystem::remove(mono + ".go");
    window.pressExecuteButton(sevenRowsShown, false);
    ASSERT_TRUE(testing::processEventsUntil(sevenRowsShown));
    EXPECT_EQ(shownColumn(window.summary().model(), 0),
              std::vector<std::string>(testing::kRunOrder.begin(), testing::kRunOrder.end() - 1));
  }
  // A closed window is deleted when the event loop is next idle.
  EXPECT_TRUE(testing::processEventsUntil(monoGone));
  EXPECT_TRUE(testing::processEventsUntil([&] { return threadCount() == threads; }));
}

}  // namespace
}  // namespace tarq
