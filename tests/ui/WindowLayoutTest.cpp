// The window's shape on the test display's 1024x768 screen, and layouts that lack panes.
#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/splitter.h>

#include <optional>
#include <utility>

#include "ui/ShownWindow.h"

namespace tarq::testing {
namespace {

// At its smallest, with the progress bar shown and the divider dragged down, it cuts nothing.
TEST(WindowLayoutTest, AtItsSmallestCutsNoPaneNorTheControlStrip) {
  const ShownWindow window(nullptr);
  window.frame().SetSize(1, 1);
  window.pane<wxWindow>("passProgress")->Show();
  window.control().Layout();
  window.pane<wxSplitterWindow>("splitView")->SetSashPosition(10000);
  settle(std::chrono::milliseconds(200));
  const wxFrame& frame = window.frame();
  const wxRect client(frame.ClientToScreen(wxPoint()), frame.GetClientSize());
  EXPECT_EQ(frame.GetClientSize(), frame.GetMinClientSize());
  for (const char* name : {"testNameView", "controlView", "testResultView", "passVerdict",
                           "passStatus", "checkGuidance", "passProgress", "executeTest"}) {
    const wxWindow& shown = *window.pane<wxWindow>(name);
    EXPECT_TRUE(client.Contains(shown.GetScreenRect())) << name;
    EXPECT_GE(shown.GetSize().GetHeight(), shown.GetEffectiveMinSize().GetHeight()) << name;
    EXPECT_GE(shown.GetSize().GetWidth(), shown.GetEffectiveMinSize().GetWidth()) << name;
  }
}

// Centred with its icon the first time; then with the shape it had, yet within the screen.
TEST(WindowLayoutTest, OpensCentredThenWithTheShapeItHadWithinTheScreen) {
  const wxRect screen = wxDisplay(0u).GetClientArea();
  ASSERT_EQ(screen.GetSize(), wxSize(1024, 768));
  std::optional<ShownWindow> window(std::in_place, nullptr);
  const wxRect opened = window->frame().GetScreenRect();
  EXPECT_EQ(opened, wxRect(opened.GetSize()).CentreIn(screen));
  EXPECT_LE(opened.GetWidth(), screen.GetWidth() * 9 / 10 + 1);
  EXPECT_LE(opened.GetHeight(), screen.GetHeight() * 9 / 10 + 1);
  EXPECT_TRUE(window->frame().GetIcons().GetIcon(48, wxIconBundle::FALLBACK_NONE).IsOk());
  window->frame().SetSize(wxRect(100, 50, 700, 600));
  window->pane<wxSplitterWindow>("splitView")->SetSashPosition(150);
  window->pane<wxSplitterWindow>("lowerSplit")->SetSashPosition(70);
  settle(std::chrono::milliseconds(100));
  window.emplace(nullptr, windowLayout(), false);
  EXPECT_EQ(window->frame().GetScreenRect(), wxRect(100, 50, 700, 600));
  EXPECT_EQ(window->pane<wxSplitterWindow>("splitView")->GetSashPosition(), 150);
  EXPECT_EQ(window->pane<wxSplitterWindow>("lowerSplit")->GetSashPosition(), 70);
  window->frame().SetSize(wxRect(-200, 300, 3000, 2000));
  settle(std::chrono::milliseconds(100));
  window.emplace(nullptr, windowLayout(), false);
  EXPECT_TRUE(screen.Contains(window->frame().GetScreenRect()));
}

// A pane of another class gets no rows; panes that lack their tables keep rows they cannot show.
TEST(WindowLayoutTest, LayoutsWithoutTheirPanesOrTablesStillRunTheChecks) {
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

}  // namespace
}  // namespace tarq::testing
