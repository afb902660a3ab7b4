// The window's menu bar: Edit's items on the focused table, and Save Report's file and state.
#include <gtest/gtest.h>

#include <filesystem>

#include "report/AtomicFile.h"
#include "support/Tables.h"
#include "support/TemporaryDirectory.h"
#include "ui/SaveReport.h"
#include "ui/ShownWindow.h"

namespace tarq::testing {
namespace {

// Select All selects the focused table's rows and Copy copies them as the table's own Ctrl+C
// does; with no table focused neither is offered, nor Copy without a selection.
TEST(WindowMenuTest, EditItemsActOnTheFocusedTable) {
  const ShownWindow window(nullptr);
  window.lines().appendLine("  Größe:\t1.5 GB\x1b[0m\n ");
  window.lines().appendLine("second line");
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
  EXPECT_EQ(copiedText(), "  Größe:\t1.5 GB\x1b[0m\nsecond line");
}

// Chosen type 0 is text, 1 JSON.
TEST(WindowMenuTest, ReportTypeFollowsTheNameElseTheChosenType) {
  expectEach<std::pair<const char*, int>, std::pair<std::string, bool>>(
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

// A folder whose name is not UTF-8 (Latin-1 "café") is saved into under its own bytes, as the
// file dialog hands its path over. A path that is empty (as one that would not convert comes) is
// an error the save reports, and nothing is written anywhere, the working folder included.
TEST(WindowMenuTest, AReportGoesWhereChosenOrNowhere) {
  const TemporaryDirectory directory;
  const std::filesystem::path working = std::filesystem::current_path();
  std::filesystem::current_path(directory.path());
  const std::string folder = directory.string() + "/caf\xe9";
  std::filesystem::create_directory(folder);
  const wxString chosen((folder + "/report").c_str(), *wxConvFileName);
  ASSERT_FALSE(chosen.empty());

  EXPECT_EQ(fileSystemPath(chosen), folder + "/report");
  EXPECT_FALSE(writeReportFile(reportFileFor(chosen, 0), "text"));
  EXPECT_EQ(readFile(folder + "/report.txt"), "text");
  const ReportFile none = reportFileFor(wxString(), 1);
  EXPECT_EQ(none.path, wxString());
  EXPECT_EQ(writeReportFile(none, "json"), make_error_code(SaveError::noPath));
  EXPECT_EQ(fileSystemPath(wxString()), "");
  std::filesystem::current_path(working);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), {}), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

// Nothing to save before the first pass; whether a pass leaves a report to save:
// WindowPassTest.RowsArriveAsTheyComeAndAPassStopsFromButtonKeyOrMenu.
TEST(WindowMenuTest, SaveReportIsNotOfferedBeforeTheFirstPass) {
  const ShownWindow window(nullptr);
  window.installMenu();
  EXPECT_FALSE(window.enabled(wxID_SAVE));
  // Whatever the locale (these tests run under the C locale).
  EXPECT_EQ(window.label(wxID_SAVE), "Save Report…");
}

}  // namespace
}  // namespace tarq::testing
