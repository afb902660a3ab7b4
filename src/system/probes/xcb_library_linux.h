#pragma once

#include <xcb/randr.h>
#include <xcb/xcb.h>

namespace tarq::SystemValuesUtility {

// libxcb and its RandR library, opened once and kept for the life of the process; the functions
// the screen probe calls, resolved by name. XCB rather than Xlib: less than a quarter of the code
// to load, a connection without Xlib's own set-up, and questions sent together, not one by one.
//
// The program does not link the X libraries: they are loaded on first use, where a display is
// named, so a report on a machine without one neither maps them nor needs them installed.
struct XLibraries {
  decltype(&::xcb_connect) connect = nullptr;
  decltype(&::xcb_connection_has_error) hasError = nullptr;
  decltype(&::xcb_disconnect) disconnect = nullptr;
  decltype(&::xcb_get_setup) getSetup = nullptr;
  decltype(&::xcb_setup_roots_iterator) roots = nullptr;
  decltype(&::xcb_screen_next) nextScreen = nullptr;
  decltype(&::xcb_get_property) getProperty = nullptr;
  decltype(&::xcb_get_property_reply) getPropertyReply = nullptr;
  decltype(&::xcb_get_property_value) propertyValue = nullptr;
  decltype(&::xcb_get_property_value_length) propertyValueLength = nullptr;
  decltype(&::xcb_get_extension_data) extensionData = nullptr;
  xcb_extension_t* randr = nullptr;
  decltype(&::xcb_randr_query_version) queryVersion = nullptr;
  decltype(&::xcb_randr_query_version_reply) queryVersionReply = nullptr;
  decltype(&::xcb_randr_get_screen_resources_current) getResources = nullptr;
  decltype(&::xcb_randr_get_screen_resources_current_reply) getResourcesReply = nullptr;
  decltype(&::xcb_randr_get_screen_resources_current_outputs) resourceOutputs = nullptr;
  decltype(&::xcb_randr_get_screen_resources_current_outputs_length) resourceOutputCount = nullptr;
  decltype(&::xcb_randr_get_output_primary) getOutputPrimary = nullptr;
  decltype(&::xcb_randr_get_output_primary_reply) getOutputPrimaryReply = nullptr;
  decltype(&::xcb_randr_get_output_info) getOutputInfo = nullptr;
  decltype(&::xcb_randr_get_output_info_reply) getOutputInfoReply = nullptr;
  decltype(&::xcb_randr_get_crtc_info) getCrtcInfo = nullptr;
  decltype(&::xcb_randr_get_crtc_info_reply) getCrtcInfoReply = nullptr;
  // RandR 1.5; libraries older than that lack them.
  decltype(&::xcb_randr_get_monitors) getMonitors = nullptr;
  decltype(&::xcb_randr_get_monitors_reply) getMonitorsReply = nullptr;
  decltype(&::xcb_randr_get_monitors_monitors_iterator) monitors = nullptr;
  decltype(&::xcb_randr_monitor_info_next) nextMonitor = nullptr;

  // Null when a library or one of the functions every server needs is missing.
  static const XLibraries* load();
};

}  // namespace tarq::SystemValuesUtility
