// The main screen on Linux: the X display's primary monitor as XRandR names it, else the
// monitor at the origin, else the first one; the whole X screen (the bounding box of all
// monitors) only where XRandR cannot list monitors. Its size is in points, as a Mac reports
// its screens: device pixels divided by the desktop's scale. Without a display there is none.
//
// The program does not link the X libraries: they are loaded on first use, where a display is
// named, so a report on a machine without one neither maps them nor needs them installed.
#include "system/probes/screen_size_linux.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>

#include <cstdlib>
#include <memory>

#include "system/text/TextParsing.h"

namespace tarq {
namespace {

// libX11 and libXrandr, opened once and kept for the life of the process; the functions the
// probe calls, resolved by name.
struct XLibraries {
  decltype(&::XOpenDisplay) openDisplay = nullptr;
  decltype(&::XCloseDisplay) closeDisplay = nullptr;
  decltype(&::XDefaultScreen) defaultScreen = nullptr;
  decltype(&::XRootWindow) rootWindow = nullptr;
  decltype(&::XDisplayWidth) displayWidth = nullptr;
  decltype(&::XDisplayHeight) displayHeight = nullptr;
  decltype(&::XResourceManagerString) resourceManagerString = nullptr;
  decltype(&::XRRQueryExtension) queryExtension = nullptr;
  decltype(&::XRRQueryVersion) queryVersion = nullptr;
  decltype(&::XRRGetScreenResourcesCurrent) getScreenResourcesCurrent = nullptr;
  decltype(&::XRRFreeScreenResources) freeScreenResources = nullptr;
  decltype(&::XRRGetOutputPrimary) getOutputPrimary = nullptr;
  decltype(&::XRRGetOutputInfo) getOutputInfo = nullptr;
  decltype(&::XRRFreeOutputInfo) freeOutputInfo = nullptr;
  decltype(&::XRRGetCrtcInfo) getCrtcInfo = nullptr;
  decltype(&::XRRFreeCrtcInfo) freeCrtcInfo = nullptr;
  // RandR 1.5; libraries older than that lack them.
  decltype(&::XRRGetMonitors) getMonitors = nullptr;
  decltype(&::XRRFreeMonitors) freeMonitors = nullptr;

  // Null when a library or one of the functions every server needs is missing.
  static const XLibraries* load();
};

template <typename Function>
bool resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

std::optional<XLibraries> openXLibraries() {
  void* x11 = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  void* xrandr = x11 == nullptr ? nullptr : ::dlopen("libXrandr.so.2", RTLD_NOW | RTLD_LOCAL);
  if (xrandr == nullptr) {
    return std::nullopt;
  }
  XLibraries l;
  const bool complete =
      resolve(x11, "XOpenDisplay", l.openDisplay) &&
      resolve(x11, "XCloseDisplay", l.closeDisplay) &&
      resolve(x11, "XDefaultScreen", l.defaultScreen) &&
      resolve(x11, "XRootWindow", l.rootWindow) && resolve(x11, "XDisplayWidth", l.displayWidth) &&
      resolve(x11, "XDisplayHeight", l.displayHeight) &&
      resolve(x11, "XResourceManagerString", l.resourceManagerString) &&
      resolve(xrandr, "XRRQueryExtension", l.queryExtension) &&
      resolve(xrandr, "XRRQueryVersion", l.queryVersion) &&
      resolve(xrandr, "XRRGetScreenResourcesCurrent", l.getScreenResourcesCurrent) &&
      resolve(xrandr, "XRRFreeScreenResources", l.freeScreenResources) &&
      resolve(xrandr, "XRRGetOutputPrimary", l.getOutputPrimary) &&
      resolve(xrandr, "XRRGetOutputInfo", l.getOutputInfo) &&
      resolve(xrandr, "XRRFreeOutputInfo", l.freeOutputInfo) &&
      resolve(xrandr, "XRRGetCrtcInfo", l.getCrtcInfo) &&
      resolve(xrandr, "XRRFreeCrtcInfo", l.freeCrtcInfo);
  if (!complete) {
    return std::nullopt;
  }
  if (!resolve(xrandr, "XRRGetMonitors", l.getMonitors) ||
      !resolve(xrandr, "XRRFreeMonitors", l.freeMonitors)) {
    l.getMonitors = nullptr;
  }
  return l;
}

const XLibraries* XLibraries::load() {
  static const std::optional<XLibraries> libraries = openXLibraries();
  return libraries ? &*libraries : nullptr;
}

// The RandR version the server speaks; 0.0 without the extension.
int randrVersion(const XLibraries& x, Display* display) {
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  if (x.queryExtension(display, &eventBase, &errorBase) == 0 ||
      x.queryVersion(display, &major, &minor) == 0) {
    return 0;
  }
  return major * 100 + minor;
}

// RandR 1.5's monitors that are showing something.
std::vector<MonitorArea> listedMonitors(const XLibraries& x, Display* display, Window root) {
  int count = 0;
  const std::unique_ptr<XRRMonitorInfo, decltype(x.freeMonitors)> monitors(
      x.getMonitors(display, root, True, &count), x.freeMonitors);
  std::vector<MonitorArea> areas;
  for (int i = 0; monitors && i < count; ++i) {
    const XRRMonitorInfo& monitor = monitors.get()[i];
    areas.push_back({monitor.x, monitor.y, monitor.width, monitor.height, monitor.primary != 0});
  }
  return areas;
}

// RandR 1.3's connected outputs that have a CRTC, each the size of its CRTC.
std::vector<MonitorArea> outputMonitors(const XLibraries& x, Display* display, Window root) {
  std::vector<MonitorArea> areas;
  const std::unique_ptr<XRRScreenResources, decltype(x.freeScreenResources)> resources(
      x.getScreenResourcesCurrent(display, root), x.freeScreenResources);
  if (!resources) {
    return areas;
  }
  const RROutput primary = x.getOutputPrimary(display, root);
  for (int i = 0; i < resources->noutput; ++i) {
    const RROutput output = resources->outputs[i];
    const std::unique_ptr<XRROutputInfo, decltype(x.freeOutputInfo)> info(
        x.getOutputInfo(display, resources.get(), output), x.freeOutputInfo);
    if (!info || info->connection != RR_Connected || info->crtc == None) {
      continue;
    }
    const std::unique_ptr<XRRCrtcInfo, decltype(x.freeCrtcInfo)> crtc(
        x.getCrtcInfo(display, resources.get(), info->crtc), x.freeCrtcInfo);
    if (crtc && crtc->mode != None) {
      areas.push_back({crtc->x, crtc->y, crtc->width, crtc->height, output == primary});
    }
  }
  return areas;
}

}  // namespace

std::optional<XDisplayFacts> readXDisplay(const char* displayName, MonitorQuery highest) {
  const char* name = displayName != nullptr ? displayName : std::getenv("DISPLAY");
  if (name == nullptr || name[0] == '\0') {
    return std::nullopt;
  }
  const XLibraries* x = XLibraries::load();
  if (x == nullptr) {
    return std::nullopt;
  }
  const std::unique_ptr<Display, decltype(x->closeDisplay)> display(x->openDisplay(name),
                                                                    x->closeDisplay);
  if (!display) {
    return std::nullopt;
  }
  XDisplayFacts facts;
  const int screen = x->defaultScreen(display.get());
  facts.screen = {x->displayWidth(display.get(), screen), x->displayHeight(display.get(), screen)};
  const Window root = x->rootWindow(display.get(), screen);
  const int version = randrVersion(*x, display.get());
  if (highest == MonitorQuery::monitors && x->getMonitors != nullptr && version >= 105) {
    facts.monitors = listedMonitors(*x, display.get(), root);
  } else if (version >= 103) {
    facts.monitors = outputMonitors(*x, display.get(), root);
  }
  if (const char* resources = x->resourceManagerString(display.get())) {
    facts.xftDpi = std::string(xResourceValue(resources, "Xft.dpi"));
  }
  return facts;
}

std::optional<ScreenSize> mainMonitorSize(const std::vector<MonitorArea>& monitors) {
  const MonitorArea* atOrigin = nullptr;
  const MonitorArea* first = nullptr;
  for (const MonitorArea& monitor : monitors) {
    if (monitor.width <= 0 || monitor.height <= 0) {
      continue;
    }
    if (monitor.primary) {
      return ScreenSize{monitor.width, monitor.height};
    }
    if (atOrigin == nullptr && monitor.x == 0 && monitor.y == 0) {
      atOrigin = &monitor;
    }
    if (first == nullptr) {
      first = &monitor;
    }
  }
  const MonitorArea* main = atOrigin != nullptr ? atOrigin : first;
  if (main == nullptr) {
    return std::nullopt;
  }
  return ScreenSize{main->width, main->height};
}

std::string_view xResourceValue(std::string_view resources, std::string_view name) {
  // Later entries override earlier ones, as in the resource database.
  std::string_view value;
  for (const std::string_view line : splitLines(resources)) {
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && trimWhitespace(line.substr(0, colon)) == name) {
      value = trimWhitespace(line.substr(colon + 1));
    }
  }
  return value;
}

// GTK takes GDK_SCALE as the desktop's whole scale, and GNOME publishes its scale (whole window
// scale times fractional text scale) as Xft.dpi, which Qt and browsers follow too.
DesktopScale desktopScale(std::string_view gdkScale, std::string_view xftDpi) {
  if (const auto scale = parseUnsignedDecimal(gdkScale); scale && *scale >= 1) {
    return {*scale, 1};
  }
  constexpr uint64_t kThousandthsOfDefaultDpi = 96000;
  if (const auto dpi = parseScaledDecimal(xftDpi, 1000); dpi && *dpi >= kThousandthsOfDefaultDpi) {
    return {*dpi, kThousandthsOfDefaultDpi};
  }
  return {};
}

ScreenSize mainScreenPoints(const XDisplayFacts& facts, std::string_view gdkScale) {
  const ScreenSize pixels = mainMonitorSize(facts.monitors).value_or(facts.screen);
  const DesktopScale scale = desktopScale(gdkScale, facts.xftDpi);
  const auto points = [&scale](int64_t length) {
    return static_cast<int64_t>(static_cast<uint64_t>(length) * scale.points / scale.pixels);
  };
  if (pixels.width <= 0 || pixels.height <= 0) {
    return {};
  }
  return {points(pixels.width), points(pixels.height)};
}

ScreenSize SystemValuesUtility::mainScreenSize(const char* displayName) {
  const std::optional<XDisplayFacts> facts = readXDisplay(displayName);
  if (!facts) {
    return {};
  }
  const char* gdkScale = std::getenv("GDK_SCALE");
  return mainScreenPoints(*facts, gdkScale != nullptr ? gdkScale : "");
}

}  // namespace tarq
