#include "ui/MenuBar.h"

#include <wx/aboutdlg.h>
#include <wx/dataview.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include <memory>
#include <string>

#include "report/AtomicFile.h"
#include "report/Report.h"
#include "ui/ControlViewController.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"

namespace tarq {
namespace {

const wxString kRunLabel = "&Run Checks\tCtrl+R";
const wxString kStopLabel = "&Stop\tCtrl+R";
// Texts beyond ASCII are taken as UTF-8: a plain literal is read in the locale's encoding, and
// under the C locale it would be lost.
const wxString kSaveLabel = wxString::FromUTF8("&Save Report…\tCtrl+S");
const wxString kReportTypes = "Text report (*.txt)|*.txt|JSON report (*.json)|*.json";
constexpr int kJsonReportType = 1;

// What the menu needs to know between events; shared by its handlers and the pass's callback.
struct WindowMenu {
  explicit WindowMenu(wxFrame& window)
      : frame(window),
        control(dynamic_cast<ControlViewController*>(window.FindWindow("controlView"))) {}

  bool reportSaveable() const {
    return reportReady && control != nullptr && !control->passRunning() &&
           control->testNameVC() != nullptr && control->testResultsVC() != nullptr;
  }

  wxFrame& frame;
  ControlViewController* control;
  // The shown pass ran to its end.
  bool reportReady = false;
  // Where the last report went; the next one is offered the same folder.
  wxString lastFolder;
};

// The table that has the keyboard focus, if any.
wxDataViewCtrl* focusedTable(wxFrame& frame) {
  for (wxWindow* window = wxWindow::FindFocus(); window != nullptr && window != &frame;
       window = window->GetParent()) {
    if (auto* table = dynamic_cast<wxDataViewCtrl*>(window)) {
      return table;
    }
  }
  return nullptr;
}

}  // namespace

ReportFile reportFileFor(const wxString& path, int chosenType) {
  const wxString lower = path.Lower();
  if (lower.EndsWith(".json") || lower.EndsWith(".txt")) {
    return {path, lower.EndsWith(".json")};
  }
  const bool json = chosenType == kJsonReportType;
  return {path + (json ? ".json" : ".txt"), json};
}

namespace {

// Saves the report that tarq-validate writes for the same pass, the text one as it writes it to
// a file (without colour).
void saveReport(WindowMenu& menu) {
  if (!menu.reportSaveable()) {
    return;
  }
  // The dialog keeps the name as typed when another type is chosen, so the default name has no
  // extension and takes the chosen type's.
  wxFileDialog dialog(&menu.frame, "Save Report", menu.lastFolder, "TarqSysValidation report",
                      kReportTypes, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) {
    return;
  }
  menu.lastFolder = dialog.GetDirectory();
  const ReportFile file = reportFileFor(dialog.GetPath(), dialog.GetFilterIndex());
  // The dialog asked about replacing the name as typed, not with the extension added.
  if (file.path != dialog.GetPath() && wxFileExists(file.path) &&
      wxMessageBox(
          wxString::Format(
              wxString::FromUTF8("A file named “%s” already exists. Do you want to replace it?"),
              wxFileNameFromPath(file.path)),
          "Save Report", wxYES_NO | wxNO_DEFAULT | wxICON_WARNING, &menu.frame) != wxYES) {
    return;
  }
  const std::vector<ResultRow>& rows = menu.control->testNameVC()->results();
  const std::vector<std::string>& lines = menu.control->testResultsVC()->resStrings();
  const std::string report = file.json ? jsonReport(rows, lines) : textReport(rows, lines, false);
  if (const std::error_code error = writeFileAtomically(std::string(file.path.fn_str()), report)) {
    wxMessageBox(
        wxString::Format(wxString::FromUTF8("The report could not be saved as “%s”.\n\n%s"),
                         file.path, wxString::FromUTF8(error.message())),
        "Report Not Saved", wxOK | wxICON_ERROR, &menu.frame);
  }
}

void showAbout(wxFrame& frame) {
  wxAboutDialogInfo about;
  about.SetName("TarqSysValidation");
  about.SetVersion(TARQ_VERSION);
  about.SetIcon(appIcon().GetIcon(wxSize(64, 64)));
  about.SetDescription(
      "Checks whether this machine meets the client application's system requirements.");
  wxAboutBox(about, &frame);
}

wxMenuBar* buildMenuBar() {
  auto* file = new wxMenu;
  file->Append(wxID_EXECUTE, kRunLabel);
  file->Append(wxID_SAVE, kSaveLabel);
  file->AppendSeparator();
  file->Append(wxID_EXIT, "&Quit\tCtrl+Q");
  auto* edit = new wxMenu;
  edit->Append(wxID_COPY, "&Copy\tCtrl+C");
  edit->Append(wxID_SELECTALL, "Select &All\tCtrl+A");
  auto* help = new wxMenu;
  help->Append(wxID_ABOUT, "&About TarqSysValidation");

  auto* bar = new wxMenuBar;
  bar->Append(file, "&File");
  bar->Append(edit, "&Edit");
  bar->Append(help, "&Help");
  // Nothing is saved or copied before the first pass.
  for (const int item : {wxID_SAVE, wxID_COPY, wxID_SELECTALL}) {
    bar->Enable(item, false);
  }
  return bar;
}

}  // namespace

void installMenuBar(wxFrame& window) {
  window.SetMenuBar(buildMenuBar());
  const auto menu = std::make_shared<WindowMenu>(window);
  if (menu->control != nullptr) {
    menu->control->setPassEnded([menu](bool stopped) { menu->reportReady = !stopped; });
  }

  // Each handler checks again what its item's state says: an accelerator can arrive before the
  // menu has been brought up to date.
  window.Bind(
      wxEVT_MENU,
      [menu](wxCommandEvent&) {
        if (menu->control == nullptr) {
          return;
        }
        if (menu->control->passRunning()) {
          menu->control->stopPass();
        } else {
          menu->control->runAllTests();
        }
      },
      wxID_EXECUTE);
  window.Bind(
      wxEVT_UPDATE_UI,
      [menu](wxUpdateUIEvent& event) {
        event.Enable(menu->control != nullptr);
        event.SetText(menu->control != nullptr && menu->control->passRunning() ? kStopLabel
                                                                               : kRunLabel);
      },
      wxID_EXECUTE);

  window.Bind(
      wxEVT_MENU, [menu](wxCommandEvent&) { saveReport(*menu); }, wxID_SAVE);
  window.Bind(
      wxEVT_UPDATE_UI, [menu](wxUpdateUIEvent& event) { event.Enable(menu->reportSaveable()); },
      wxID_SAVE);

  window.Bind(
      wxEVT_MENU, [&window](wxCommandEvent&) { window.Close(); }, wxID_EXIT);

  // Copy hands the focused table the same command as its own Ctrl+C and context menu.
  window.Bind(
      wxEVT_MENU,
      [&window](wxCommandEvent& event) {
        if (wxDataViewCtrl* table = focusedTable(window)) {
          table->GetEventHandler()->ProcessEventLocally(event);
        }
      },
      wxID_COPY);
  window.Bind(
      wxEVT_UPDATE_UI,
      [&window](wxUpdateUIEvent& event) {
        const wxDataViewCtrl* table = focusedTable(window);
        event.Enable(table != nullptr && table->HasSelection());
      },
      wxID_COPY);
  window.Bind(
      wxEVT_MENU,
      [&window](wxCommandEvent&) {
        if (wxDataViewCtrl* table = focusedTable(window)) {
          table->SelectAll();
        }
      },
      wxID_SELECTALL);
  window.Bind(
      wxEVT_UPDATE_UI,
      [&window](wxUpdateUIEvent& event) { event.Enable(focusedTable(window) != nullptr); },
      wxID_SELECTALL);

  window.Bind(
      wxEVT_MENU, [&window](wxCommandEvent&) { showAbout(window); }, wxID_ABOUT);
}

}  // namespace tarq
