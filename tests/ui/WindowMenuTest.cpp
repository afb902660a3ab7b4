#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/menu.h>

#include <atomic>
#include <thread>

#include "ui/MenuBar.h"
#include "ui/WindowHarness.h"

namespace tarq {
namespace {

// The window as the program shows it, with its menu bar.
class WindowWithMenu : public testing::ShownWindow {
 public:
  explicit WindowWithMenu(MachineFacts* facts) : ShownWindow(facts) {
    installMenuBar(*frame_);
    // The panes move down to make room for the menu bar.
    testing::processEventsUntil([] { return false; }, std::chrono::milliseconds(300));
  }

  // An item's state as the menu shows it when opened.
  bool enabled(int item) const {
    frame_->UpdateWindowUI();
    return frame_->GetMenuBar()->IsEnabled(item);
  }
  std::string label(int item) const {
    frame_->UpdateWindowUI();
    return wxMenuItem::GetLabelText(frame_->GetMenuBar()->GetLabel(item)).utf8_string();
  }
};

// A machine whose Mono question is answered only once the test lets it.
struct HeldFacts final : testing::FakeMachineFacts {
  MonoVersionInfo monoVersion() override {
    while (!answer) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return FakeMachineFacts::monoVersion();
  }
  std::atomic<bool> answer = false;
};

using testing::pressKey;

TEST(WindowMenuTest, ReportTypeFollowsTheNameElseTheChosenType) {
  const struct {
    const char* path;
    int chosenType;  // 0 text, 1 JSON
    const char* savedAs;
    bool json;
  } cases[] = {
      {"/r/a.json", 0, "/r/a.json", true},
      {"/r/a.TXT", 1, "/r/a.TXT", false},
      {"/r/a", 1, "/r/a.json", true},
      {"/r/a", 0, "/r/a.txt", false},
      {"/r/a.json.old", 0, "/r/a.json.old.txt", false},
  };
  for (const auto& c : cases) {
    const ReportFile file = reportFileFor(c.path, c.chosenType);
    EXPECT_EQ(file.path, c.savedAs);
    EXPECT_EQ(file.json, c.json) << c.path;
  }
}

// Ctrl+R runs a pass and, while it runs, stops it; a report can be saved only from a pass that
// ran to its end, never during a pass.
TEST(WindowMenuTest, RunChecksTogglesAndSaveWaitsForAWholePass) {
  HeldFacts facts;
  const WindowWithMenu window(&facts);
  EXPECT_FALSE(window.enabled(wxID_SAVE));
  EXPECT_EQ(window.label(wxID_EXECUTE), "Run Checks");
  // Whatever the locale (these tests run under the C locale).
  EXPECT_EQ(window.label(wxID_SAVE), "Save Report…");

  for (const bool stop : {false, true}) {
    SCOPED_TRACE(stop ? "stopped" : "let through");
    facts.answer = false;
    pressKey('r', wxMOD_CONTROL);
    // Every check but Mono's has reported.
    ASSERT_TRUE(
        testing::processEventsUntil([&] { return window.summary().model().GetCount() == 7; }));
    EXPECT_TRUE(window.control().passRunning());
    EXPECT_EQ(window.label(wxID_EXECUTE), "Stop");
    EXPECT_FALSE(window.enabled(wxID_SAVE));

    if (stop) {
      pressKey('r', wxMOD_CONTROL);
    }
    facts.answer = true;
    ASSERT_TRUE(testing::processEventsUntil([&] { return !window.control().passRunning(); }));
    EXPECT_EQ(window.summary().results().size(), stop ? 7u : 8u);
    EXPECT_EQ(window.label(wxID_EXECUTE), "Run Checks");
    EXPECT_EQ(window.enabled(wxID_SAVE), !stop);
  }
}

// Edit's items act on the table that has the focus: Select All selects its rows and Copy copies
// them as the table's own Ctrl+C does.
TEST(WindowMenuTest, EditMenuSelectsAndCopiesTheFocusedTable) {
  testing::FakeMachineFacts facts;
  const WindowWithMenu window(&facts);
  pressKey('r', wxMOD_CONTROL);
  ASSERT_TRUE(testing::processEventsUntil(
      [&] { return window.summary().results().size() == 8 && !window.control().passRunning(); }));
  EXPECT_FALSE(window.enabled(wxID_COPY));
  EXPECT_FALSE(window.enabled(wxID_SELECTALL));

  window.linesTable().SetFocus();
  testing::processEventsUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_FALSE(window.enabled(wxID_COPY));
  EXPECT_TRUE(window.enabled(wxID_SELECTALL));

  // Through the menus as a person opens them from the keyboard: Alt+E, then the item's letter.
  pressKey('e', wxMOD_ALT);
  testing::processEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  pressKey('a');
  ASSERT_TRUE(testing::processEventsUntil([&] {
    return window.linesTable().GetSelectedItemsCount() ==
           static_cast<int>(window.lines().resStrings().size());
  }));
  EXPECT_TRUE(window.enabled(wxID_COPY));
  {
    wxClipboardLocker clipboard;
    wxTheClipboard->Clear();
  }
  pressKey('e', wxMOD_ALT);
  testing::processEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  pressKey('c');

  const std::string copied = testing::copiedText();
  std::string expected;
  for (const std::string& line : window.lines().resStrings()) {
    expected += line + "\n";
  }
  EXPECT_EQ(copied, expected);
}

}  // namespace
}  // namespace tarq
