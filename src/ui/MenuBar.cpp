#include "ui/MenuBar.h"

#include <wx/aboutdlg.h>
#include <wx/dataview.h>
#include <wx/menu.h>

#include <memory>

#include "ui/AppIcon.h"
#include "ui/ControlViewController.h"
#include "ui/SaveReport.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"

namespace tarq {
namespace {

const wxString kExecuteKey = "\tCtrl+R";
// Texts beyond ASCII are taken as UTF-8: a plain literal is read in the locale's encoding, and
// under the C locale it would be lost.
const wxString kSaveLabel = wxString::FromUTF8("&Save Report…\tCtrl+S");

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

// Saves the last pass's report, if it is there to save.
void saveLastReport(WindowMenu& menu) {
  if (menu.reportSaveable()) {
    const ControlViewController& control = *menu.control;
    const PassRecord pass{*control.testNameVC(),      *control.testResultsVC(),
                          control.lastMeasurements(), {},
                          control.lastStartedAt(),    control.lastFinishedAt(),
                          describeThisMachine(),      TARQ_VERSION};
    saveReport(menu.frame, pass, menu.lastFolder);
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
  file->Append(wxID_EXECUTE, ControlViewController::executeLabel(false) + kExecuteKey);
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
        event.SetText(ControlViewController::executeLabel(menu->control != nullptr &&
                                                          menu->control->passRunning()) +
                      kExecuteKey);
      },
      wxID_EXECUTE);

  window.Bind(
      wxEVT_MENU, [menu](wxCommandEvent&) { saveLastReport(*menu); }, wxID_SAVE);
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
