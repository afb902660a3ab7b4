#pragma once

#include <string>
#include <string_view>

// The Linux stand-in for the platform's system profiler: the USB report, read from sysfs and
// written as the same XML property list the platform's tool prints.
namespace tarq::standin {

// The bus name for a root hub's "version" file: " 3.10\n" gives "USB 3.1 Bus", " 2.00" gives
// "USB 2.0 Bus". A text that is not a version gives "USB Bus", which names no version.
std::string usbBusName(std::string_view versionFile);

// Appends `text` to `out` as XML character data: markup characters escaped, characters XML
// cannot carry (most control characters, ill-formed UTF-8) replaced by U+FFFD.
void writeXmlText(std::string& out, std::string_view text);

// The report of `system_profiler -xml <dataType>` for either USB data type: a root array with
// one dictionary, naming `dataType`, whose "_items" holds one dictionary per bus. The buses are
// the root hubs "usb1", "usb2", ... under `sysfsRoot`/bus/usb/devices, in bus number order;
// none when the folder is missing, as on a machine without USB.
std::string usbReport(std::string_view sysfsRoot, std::string_view dataType);

}  // namespace tarq::standin
