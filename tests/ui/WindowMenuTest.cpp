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

// Edit's items act on the focused table, offered only where they can; no Save before a pass.
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
  settle(std::chrono::milliseconds(100));
  EXPECT_FALSE(window.enabled(wxID_COPY));
  EXPECT_TRUE(window.enabled(wxID_SELECTALL));
  // Alt+E, then the item's letter, as a person opens the menu from the keyboard.
  pressKey('e', wxMOD_ALT);
  settle(std::chrono::milliseconds(200));
  pressKey('a');
  ASSERT_TRUE(processEventsUntil([&] { return window.linesTable().GetSelectedItemsCount() == 2; }));
  EXPECT_TRUE(window.enabled(wxID_COPY));
  pressKey('e', wxMOD_ALT);
  settle(std::chrono::milliseconds(200));
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

// A folder not named in UTF-8 (Latin-1 "café") keeps its bytes; an empty path (as one that would
// not convert comes) writes nothing, not even in the working folder.
TEST(WindowMenuTest, AReportGoesWhereChosenOrNowhere) {
  const TemporaryDirectory directory;
  const std::filesystem::path working = std::filesystem::current_path();
  std::filesystem::current_path(directory.path());
  const std::string folder = directory.string() + "/caf\xe9";
  std::filesystem::create_directory(folder);
  const wxString chosen((folder + "/report").c_str(), *wxConvFileName);
  EXPECT_FALSE(writeReportFile(reportFileFor(chosen, 0), "text"));
  EXPECT_EQ(readFile(folder + "/report.txt"), "text");
  EXPECT_EQ(writeReportFile(reportFileFor(wxString(), 1), "json"),
            make_error_code(SaveError::noPath));
  std::filesystem::current_path(working);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), {}), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
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
  // Where GTK placed it (its size is not the wxWidgets window's), with no GTK headers.
  using Get = void(void* window, int* first, int* second);
  auto* const getSize = reinterpret_cast<Get*>(::dlsym(RTLD_DEFAULT, "gtk_window_get_size"));
  auto* const getPlace = reinterpret_cast<Get*>(::dlsym(RTLD_DEFAULT, "gtk_window_get_position"));
  ASSERT_TRUE(getSize != nullptr && getPlace != nullptr);
  OpenedDialogs dialogs;
  wxRect shown;
  wxString offered;
  // Looked at after a while, as the toolkit may size it once shown.
  wxTimer look;
  look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (auto* dialog = dynamic_cast<wxFileDialog*>(dialogs.opened)) {
      getSize(dialog->GetHandle(), &shown.width, &shown.height);
      getPlace(dialog->GetHandle(), &shown.x, &shown.y);
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
