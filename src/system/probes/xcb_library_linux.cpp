#include "system/probes/xcb_library_linux.h"

#include <dlfcn.h>

#include <optional>

namespace tarq::SystemValuesUtility {
namespace {

template <typename Symbol>
bool resolve(void* library, const char* name, Symbol& symbol) {
  symbol = reinterpret_cast<Symbol>(::dlsym(library, name));
  return symbol != nullptr;
}

std::optional<XLibraries> openXLibraries() {
  void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
  void* randr = xcb == nullptr ? nullptr : ::dlopen("libxcb-randr.so.0", RTLD_NOW | RTLD_LOCAL);
  if (randr == nullptr) {
    return std::nullopt;
  }
  XLibraries l;
  const bool complete =
      resolve(xcb, "xcb_connect", l.connect) &&
      resolve(xcb, "xcb_connection_has_error", l.hasError) &&
      resolve(xcb, "xcb_disconnect", l.disconnect) && resolve(xcb, "xcb_get_setup", l.getSetup) &&
      resolve(xcb, "xcb_setup_roots_iterator", l.roots) &&
      resolve(xcb, "xcb_screen_next", l.nextScreen) &&
      resolve(xcb, "xcb_get_property", l.getProperty) &&
      resolve(xcb, "xcb_get_property_reply", l.getPropertyReply) &&
      resolve(xcb, "xcb_get_property_value", l.propertyValue) &&
      resolve(xcb, "xcb_get_property_value_length", l.propertyValueLength) &&
      resolve(xcb, "xcb_get_extension_data", l.extensionData) &&
      resolve(randr, "xcb_randr_id", l.randr) &&
      resolve(randr, "xcb_randr_query_version", l.queryVersion) &&
      resolve(randr, "xcb_randr_query_version_reply", l.queryVersionReply) &&
      resolve(randr, "xcb_randr_get_screen_resources_current", l.getResources) &&
      resolve(randr, "xcb_randr_get_screen_resources_current_reply", l.getResourcesReply) &&
      resolve(randr, "xcb_randr_get_screen_resources_current_outputs", l.resourceOutputs) &&
      resolve(randr, "xcb_randr_get_screen_resources_current_outputs_length",
              l.resourceOutputCount) &&
      resolve(randr, "xcb_randr_get_output_primary", l.getOutputPrimary) &&
      resolve(randr, "xcb_randr_get_output_primary_reply", l.getOutputPrimaryReply) &&
      resolve(randr, "xcb_randr_get_output_info", l.getOutputInfo) &&
      resolve(randr, "xcb_randr_get_output_info_reply", l.getOutputInfoReply) &&
      resolve(randr, "xcb_randr_get_crtc_info", l.getCrtcInfo) &&
      resolve(randr, "xcb_randr_get_crtc_info_reply", l.getCrtcInfoReply);
  if (!complete) {
    return std::nullopt;
  }
  if (!resolve(randr, "xcb_randr_get_monitors", l.getMonitors) ||
      !resolve(randr, "xcb_randr_get_monitors_reply", l.getMonitorsReply) ||
      !resolve(randr, "xcb_randr_get_monitors_monitors_iterator", l.monitors) ||
      !resolve(randr, "xcb_randr_monitor_info_next", l.nextMonitor)) {
    l.getMonitors = nullptr;
  }
  return l;
}

}  // namespace

const XLibraries* XLibraries::load() {
  static const std::optional<XLibraries> libraries = openXLibraries();
  return libraries ? &*libraries : nullptr;
}

}  // namespace tarq::SystemValuesUtility
