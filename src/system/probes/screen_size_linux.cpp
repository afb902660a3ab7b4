// The main screen on Linux is the X display's primary monitor, as XRandR names it. Without a
// primary output (or without XRandR) it is the whole X screen; without a display there is none.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>

#include "system/probes/ScreenSize.h"

namespace tarq {
namespace {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ScreenResourcesFreer {
  void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct OutputInfoFreer {
  void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};
struct CrtcInfoFreer {
  void operator()(XRRCrtcInfo* info) const { XRRFreeCrtcInfo(info); }
};

// XRRGetScreenResourcesCurrent and XRRGetOutputPrimary came with RandR 1.3.
bool hasRandr13(Display* display) {
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  return XRRQueryExtension(display, &eventBase, &errorBase) != 0 &&
         XRRQueryVersion(display, &major, &minor) != 0 && (major > 1 || (major == 1 && minor >= 3));
}

// The size of the CRTC that shows the primary output; (0, 0) when there is no such monitor.
ScreenSize primaryMonitorSize(Display* display, Window root) {
  if (!hasRandr13(display)) {
    return {};
  }
  const RROutput primary = XRRGetOutputPrimary(display, root);
  if (primary == None) {
    return {};
  }
  const std::unique_ptr<XRRScreenResources, ScreenResourcesFreer> resources(
      XRRGetScreenResourcesCurrent(display, root));
  if (!resources) {
    return {};
  }
  const std::unique_ptr<XRROutputInfo, OutputInfoFreer> output(
      XRRGetOutputInfo(display, resources.get(), primary));
  if (!output || output->crtc == None) {
    return {};
  }
  const std::unique_ptr<XRRCrtcInfo, CrtcInfoFreer> crtc(
      XRRGetCrtcInfo(display, resources.get(), output->crtc));
  if (!crtc) {
    return {};
  }
  return {crtc->width, crtc->height};
}

}  // namespace

ScreenSize SystemValuesUtility::mainScreenSize(const char* displayName) {
  const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(displayName));
  if (!display) {
    return {};
  }
  const int screen = XDefaultScreen(display.get());
  const ScreenSize primary = primaryMonitorSize(display.get(), XRootWindow(display.get(), screen));
  if (primary.width > 0 && primary.height > 0) {
    return primary;
  }
  return {XDisplayWidth(display.get(), screen), XDisplayHeight(display.get(), screen)};
}

}  // namespace tarq
