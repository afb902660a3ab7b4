// The window's menu bar: Edit's items on the focused table, and Save Report's file and state.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <filesystem>

#include "report/AtomicFile.h"
#include "support/Tables.h"
#include "support/TemporaryDirectory.h"
#include "ui/SaveReport.h"
#include "ui/ShownWindow.h"

namespace tarq::testing {
namespace {

// Select All and Copy act on the focused table as its own keys do, offered only where they can;
// nothing is saved before a first pass (after one: WindowPassTest).
TEST(WindowMenuTest, EditItemsActOnTheFocusedTableAndNothingIsSavedBeforeAPass) {
  const ShownWindow window(nullptr);
  window.lines().appendLine("  Größe:\t1.5 GB\x1b[0m\n ");
  window.lines().appendLine("second line");
  window.installMenu();
  EXPECT_FALSE(window.enabled(wxID_SAVE));
  // Whatever the locale (these tests run under the C locale).
  EXPECT_EQ(window.label(wxID_SAVE), "Save Report…");
  window.button().SetFocus();
  EXPECT_FALSE(window.enabled(wxID_COPY));
  EXPECT_FALSE(window.enabled(wxID_SELECTALL));
  window.linesTable().SetFocus();
  processEventsUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_FALSE(window.enabled(wxID_COPY));
  EXPECT_TRUE(window.enabled(wxID_SELECTALL));
  // Alt+E, then the item's letter, as a person opens the menu from the keyboard.
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

// A folder not named in UTF-8 (Latin-1 "café") is saved into under its own bytes; an empty path
// (as one that would not convert comes) is an error and writes nothing, not even in the working
// folder.
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

// Where GTK placed a dialog (the file dialog's size is not the wxWidgets window's); looked up in
// the process, so the tests need no GTK headers.
wxRect shownRect(wxDialog& dialog) {
  using Get = void(void* window, int* first, int* second);
  auto* const getSize = reinterpret_cast<Get*>(::dlsym(RTLD_DEFAULT, "gtk_window_get_size"));
  auto* const getPlace = reinterpret_cast<Get*>(::dlsym(RTLD_DEFAULT, "gtk_window_get_position"));
  wxRect rect;
  if (getSize != nullptr && getPlace != nullptr) {
    getSize(dialog.GetHandle(), &rect.width, &rect.height);
    getPlace(dialog.GetHandle(), &rect.x, &rect.y);
  }
  return rect;
}

// Learns of each modal dialog as it opens: the file dialog is no top-level window of the toolkit's.
struct OpenedDialogs final : wxModalDialogHook {
  OpenedDialogs() { Register(); }
  ~OpenedDialogs() override { Unregister(); }
  int Enter(wxDialog* dialog) override {
    opened = dialog;
    return wxID_NONE;
  }
  void Exit(wxDialog*) override { opened = nullptr; }
  wxDialog* opened = nullptr;
};

// The dialog fits the 1024x768 screen and offers a name of this machine's and today's date.
TEST(WindowMenuTest, SaveReportsDialogFitsTheScreenAndOffersAHostAndDateName) {
  FakeMachineFacts facts;
  const ShownWindow window(&facts);
  window.installMenu();
  ASSERT_TRUE(window.clickButton([&] { return window.enabled(wxID_SAVE); }));
  OpenedDialogs dialogs;
  wxRect shown;
  wxString offered;
  // Looked at after a while, as the toolkit may size it once shown.
  wxTimer look;
  look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (auto* dialog = dynamic_cast<wxFileDialog*>(dialogs.opened)) {
      shown = shownRect(*dialog);
      offered = dialog->GetFilename();
      dialog->EndModal(wxID_CANCEL);
    }
  });
  look.Start(500);
  pressKey('s', wxMOD_CONTROL);
  processEventsUntil([&] { return !shown.IsEmpty() && dialogs.opened == nullptr; },
                     std::chrono::seconds(5));
  look.Stop();
  EXPECT_TRUE(wxDisplay(0u).GetClientArea().Contains(shown))
      << shown.x << "," << shown.y << " " << shown.width << "x" << shown.height;
  EXPECT_EQ(offered, suggestedReportName(wxGetHostName(), wxDateTime::Now()));
  EXPECT_EQ(suggestedReportName("imac-lab3", wxDateTime(7, wxDateTime::Dec, 2026)),
            "TarqSysValidation-imac-lab3-2026-12-07.txt");
}

}  // namespace
}  // namespace tarq::testing
