// TarqSysValidation: the window program. One window; each press of its button runs one
// validation pass on this machine.
#include <wx/app.h>
#include <wx/uilocale.h>

#include "system/process/ToolRun.h"
#include "ui/AppDelegate.h"
#include "ui/MainWindow.h"
#include "ui/MenuBar.h"

namespace tarq {

class TarqSysValidationApp final : public wxApp {
 public:
  bool OnInit() override {
    SystemValuesUtility::prepareProcessForTools();
    SetAppName("TarqSysValidation");
    SetAppDisplayName("TarqSysValidation");
    // The window follows the person's language settings; the checks' texts do not depend on them.
    wxUILocale::UseDefault();
    wxFrame* window = createMainWindow(windowLayout());
    if (window == nullptr) {
      return false;
    }
    installMenuBar(*window);
    window->Show();
    delegate_.applicationDidFinishLaunching();
    return true;
  }

  int OnExit() override {
    delegate_.applicationWillTerminate();
    return wxApp::OnExit();
  }

 private:
  AppDelegate delegate_;
};

}  // namespace tarq

wxIMPLEMENT_APP(tarq::TarqSysValidationApp);
