// TarqSysValidation: the window program. One window; each press of its button runs one
// validation pass on this machine.
#include <wx/app.h>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/uilocale.h>

#include "system/process/HeapSetting.h"
#include "system/process/RunningToolGroups.h"
#include "ui/AppDelegate.h"
#include "ui/DisplayLoss.h"
#include "ui/MainWindow.h"
#include "ui/MenuBar.h"
#include "ui/Settings.h"

namespace tarq {

class TarqSysValidationApp final : public wxApp {
 public:
  bool OnInit() override {
    // Before any pass's threads start, each of which would map an arena of its own.
    SystemValuesUtility::shareOneHeapAcrossThreads();
    SystemValuesUtility::prepareProcessForTools();
    SetAppName("TarqSysValidation");
    SetAppDisplayName("TarqSysValidation");
    // The window's remembered shape goes where the desktop keeps settings (~/.config on Linux),
    // not into a dot file of its own in the home folder; a new account may not have that folder.
    wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
    {
      const wxLogNull shapeNotRememberedIsNoError;
      wxFileName::Mkdir(wxStandardPaths::Get().GetUserConfigDir(), wxS_DIR_DEFAULT,
                        wxPATH_MKDIR_FULL);
    }
    openSettings();
    // The window follows the person's language settings; the checks' texts do not depend on them.
    wxUILocale::UseDefault();
    wxFrame* window = createMainWindow(windowLayout());
    if (window == nullptr) {
      return false;
    }
    installMenuBar(*window);
    endToolsWhenTheDisplayGoesAway();
    window->Show();
    delegate_.applicationDidFinishLaunching();
    return true;
  }

  int OnExit() override {
    delegate_.applicationWillTerminate();
    // The settings are written now, and whatever that or anything later has to say goes to
    // standard error: a message dialog after the last window has gone would crash the toolkit.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    delete wxConfigBase::Set(nullptr);
    return wxApp::OnExit();
  }

 private:
  AppDelegate delegate_;
};

}  // namespace tarq

wxIMPLEMENT_APP(tarq::TarqSysValidationApp);
