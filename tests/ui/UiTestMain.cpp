// The window tests run in one wxWidgets application on an X display of their own, 1024x768 like
// the smallest screen the client application supports. The window keeps its shape in a
// configuration file of the tests' own, never the person's.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/fileconf.h>
#include <wx/init.h>

#include <cstdlib>

#include "support/TemporaryDirectory.h"
#include "support/VirtualDisplay.h"
#include "ui/WindowHarness.h"

// The toolkit's own libraries keep caches for the life of the process (fonts, themes, type
// registrations) that are never freed; only those are not counted as leaks.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libgtk-3.so\n"
         "leak:libgdk-3.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n"
         "leak:libpango-1.0.so\n"
         "leak:libpangoft2-1.0.so\n"
         "leak:libcairo.so\n"
         "leak:libX11.so\n";
}

// Last, as Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tarq::testing {

// Read from the X server itself: reading through the toolkit's screen DC stops the window's later
// repaints from reaching the screen.
wxColour paintedColour(const wxDataViewCtrl& table, unsigned row, unsigned column,
                       const wxColour& expected) {
  wxColour painted;
  processEventsUntil(
      [&] {
        const wxRect cell = shownCell(table, row, column);
        const wxPoint point = table.ClientToScreen(cell.GetPosition() + cell.GetSize() / 2);
        Display* display = XOpenDisplay(nullptr);
        XImage* image = XGetImage(display, DefaultRootWindow(display), point.x, point.y, 1, 1,
                                  AllPlanes, ZPixmap);
        const unsigned long rgb = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        XCloseDisplay(display);
        painted.Set((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
        return painted == expected;
      },
      std::chrono::seconds(2));
  return painted;
}

}  // namespace tarq::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const tarq::testing::VirtualDisplay display(1024, 768);
  const tarq::testing::TemporaryDirectory configuration;
  ::setenv("DISPLAY", display.name().c_str(), 1);
  ::setenv("GDK_BACKEND", "x11", 1);
  ::setenv("NO_AT_BRIDGE", "1", 1);

  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    return EXIT_FAILURE;
  }
  wxConfigBase::Set(new wxFileConfig("TarqSysValidation", {}, configuration.string() + "/window",
                                     {}, wxCONFIG_USE_LOCAL_FILE));
  int status = EXIT_FAILURE;
  {
    wxGUIEventLoop loop;
    const wxEventLoopActivator active(&loop);
    status = RUN_ALL_TESTS();
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}
