// One wxWidgets application on an X display of the tests' own, 1024x768 like the smallest screen
// supported, keeping the window's shape in a configuration file of their own.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/fileconf.h>
#include <wx/init.h>

#include <cstdlib>

#include "support/TemporaryDirectory.h"
#include "support/VirtualDisplay.h"

// LeakSanitizer leaves out the toolkit's lifelong caches, listed with the menu test's.
extern "C" const char* __lsan_default_options() {
  return "suppressions=" TARQ_TOOLKIT_LEAKS;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const tarq::testing::VirtualDisplay display(1024, 768);
  const tarq::testing::TemporaryDirectory configuration;
  ::setenv("DISPLAY", display.name().c_str(), 1);
  ::setenv("GDK_BACKEND", "x11", 1);
  ::setenv("NO_AT_BRIDGE", "1", 1);
  // The file dialog keeps its settings in memory, not in a settings service the machine lacks.
  ::setenv("GSETTINGS_BACKEND", "memory", 1);

  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    return EXIT_FAILURE;
  }
  wxConfigBase::Set(new wxFileConfig("TarqSysValidation", {}, configuration.string() + "/window",
                                     {}, wxCONFIG_USE_LOCAL_FILE));
  const int status = [] {
    wxGUIEventLoop loop;
    const wxEventLoopActivator active(&loop);
    return RUN_ALL_TESTS();
  }();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}
