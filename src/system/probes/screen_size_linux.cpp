// The main screen on Linux: the X display's primary monitor as XRandR names it, else the
// monitor at the origin, else the first one; the whole X screen (the bounding box of all
// monitors) only where XRandR cannot list monitors. Its size is in points, as a Mac reports
// its screens: device pixels divided by the desktop's scale. Without a display there is none.
// The X libraries are loaded on first use (see xcb_library_linux.h).
#include "system/probes/screen_size_linux.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "system/probes/xcb_library_linux.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {
namespace {

// Far more than any desktop's resource database; a larger one is read this far.
constexpr uint32_t kLongestResources = 1u << 20;

// A reply of XCB's, freed with the C library's free.
template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
Owned<Reply> owned(Reply* reply) {
  return Owned<Reply>(reply, &std::free);
}

// RandR 1.5's monitors that are showing something.
std::vector<MonitorArea> listedMonitors(const XLibraries& x, xcb_connection_t* connection,
                                        xcb_window_t root) {
  std::vector<MonitorArea> areas;
  const auto reply =
      owned(x.getMonitorsReply(connection, x.getMonitors(connection, root, 1), nullptr));
  if (!reply) {
    return areas;
  }
  for (auto monitor = x.monitors(reply.get()); monitor.rem > 0; x.nextMonitor(&monitor)) {
    const xcb_randr_monitor_info_t& m = *monitor.data;
    areas.push_back({m.x, m.y, m.width, m.height, m.primary != 0});
  }
  return areas;
}

// RandR 1.3's connected outputs that have a CRTC, each the size of its CRTC. The questions about
// all outputs go out together, then those about their CRTCs.
std::vector<MonitorArea> outputMonitors(const XLibraries& x, xcb_connection_t* connection,
                                        xcb_window_t root) {
  std::vector<MonitorArea> areas;
  const auto primaryCookie = x.getOutputPrimary(connection, root);
  const auto resources =
      owned(x.getResourcesReply(connection, x.getResources(connection, root), nullptr));
  const auto primary = owned(x.getOutputPrimaryReply(connection, primaryCookie, nullptr));
  if (!resources) {
    return areas;
  }
  const xcb_randr_output_t* const outputs = x.resourceOutputs(resources.get());
  const std::size_t count =
      static_cast<std::size_t>(std::max(0, x.resourceOutputCount(resources.get())));
  const xcb_timestamp_t timestamp = resources->config_timestamp;
  std::vector<xcb_randr_get_output_info_cookie_t> infoCookies;
  for (std::size_t i = 0; i < count; ++i) {
    infoCookies.push_back(x.getOutputInfo(connection, outputs[i], timestamp));
  }
  std::vector<std::pair<xcb_randr_get_crtc_info_cookie_t, bool>> crtcCookies;
  for (std::size_t i = 0; i < count; ++i) {
    const auto info = owned(x.getOutputInfoReply(connection, infoCookies[i], nullptr));
    if (info && info->connection == XCB_RANDR_CONNECTION_CONNECTED && info->crtc != XCB_NONE) {
      crtcCookies.emplace_back(x.getCrtcInfo(connection, info->crtc, timestamp),
                               primary && outputs[i] == primary->output);
    }
  }
  for (const auto& [cookie, isPrimary] : crtcCookies) {
    const auto crtc = owned(x.getCrtcInfoReply(connection, cookie, nullptr));
    if (crtc && crtc->mode != XCB_NONE) {
      areas.push_back({crtc->x, crtc->y, crtc->width, crtc->height, isPrimary});
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
  int screenNumber = 0;
  const std::unique_ptr<xcb_connection_t, decltype(x->disconnect)> connection(
      x->connect(name, &screenNumber), x->disconnect);
  // A failed connection is an object of its own, which is disconnected all the same.
  if (!connection || x->hasError(connection.get()) != 0) {
    return std::nullopt;
  }
  xcb_connection_t* const c = connection.get();
  auto roots = x->roots(x->getSetup(c));
  // The resource database, as Xlib reads it: the first screen's root window's property.
  const xcb_window_t firstRoot = roots.rem > 0 ? roots.data->root : XCB_NONE;
  for (int i = 0; i < screenNumber && roots.rem > 0; ++i) {
    x->nextScreen(&roots);
  }
  if (roots.rem <= 0) {
    return std::nullopt;
  }
  const xcb_screen_t& screen = *roots.data;
  const auto resourcesCookie = x->getProperty(c, 0, firstRoot, XCB_ATOM_RESOURCE_MANAGER,
                                              XCB_ATOM_STRING, 0, kLongestResources / 4);
  const xcb_query_extension_reply_t* randr = x->extensionData(c, x->randr);
  int version = 0;
  if (randr != nullptr && randr->present != 0) {
    // The newest version this probe knows; the server answers with the one it speaks.
    const auto reply = owned(x->queryVersionReply(c, x->queryVersion(c, 1, 5), nullptr));
    version = reply ? static_cast<int>(reply->major_version * 100 + reply->minor_version) : 0;
  }
  XDisplayFacts facts;
  facts.screen = {screen.width_in_pixels, screen.height_in_pixels};
  if (highest == MonitorQuery::monitors && x->getMonitors != nullptr && version >= 105) {
    facts.monitors = listedMonitors(*x, c, screen.root);
  } else if (version >= 103) {
    facts.monitors = outputMonitors(*x, c, screen.root);
  }
  if (const auto resources = owned(x->getPropertyReply(c, resourcesCookie, nullptr))) {
    const auto* text = static_cast<const char*>(x->propertyValue(resources.get()));
    facts.xftDpi = std::string(xResourceValue(
        std::string_view(text, static_cast<std::size_t>(x->propertyValueLength(resources.get()))),
        "Xft.dpi"));
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

ScreenSize mainScreenSize(const char* displayName) {
  const std::optional<XDisplayFacts> facts = readXDisplay(displayName);
  if (!facts) {
    return {};
  }
  const char* gdkScale = std::getenv("GDK_SCALE");
  return mainScreenPoints(*facts, gdkScale != nullptr ? gdkScale : "");
}

}  // namespace tarq::SystemValuesUtility
