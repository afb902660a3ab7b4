#include "SystemProfilerReport.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "system/text/FileReading.h"
#include "system/text/TextParsing.h"

namespace tarq::standin {
namespace {

// A root hub's files are a few bytes; anything larger is not one.
constexpr std::size_t kMaxSysfsFileBytes = 4096;

// The bus number of a root hub entry ("usb12" gives 12).
std::optional<uint64_t> busNumber(std::string_view entry) {
  constexpr std::string_view kPrefix = "usb";
  if (!entry.starts_with(kPrefix)) {
    return std::nullopt;
  }
  return parseUnsignedDecimal(entry.substr(kPrefix.size()));
}

}  // namespace

std::string usbBusName(std::string_view versionFile) {
  // The kernel writes the hub's BCD release as "%2x.%02x": major, then minor and sub-minor.
  const std::string_view version = trimWhitespace(versionFile);
  const std::size_t point = version.find('.');
  const std::string_view minor =
      point == std::string_view::npos ? std::string_view{} : version.substr(point + 1);
  const auto major = parseUnsignedDecimal(version.substr(0, point));
  if (!major || minor.size() != 2 || !parseUnsignedDecimal(minor)) {
    return "USB Bus";
  }
  return "USB " + std::to_string(*major) + "." + minor.front() + " Bus";
}

std::vector<UsbBus> readUsbBuses(const std::string& sysfsRoot) {
  const std::string devices = sysfsRoot + "/bus/usb/devices/";
  std::vector<std::pair<uint64_t, std::string>> hubs;
  for (const std::string& entry : directoryEntries(devices)) {
    if (const auto number = busNumber(entry)) {
      hubs.emplace_back(*number, entry);
    }
  }
  std::sort(hubs.begin(), hubs.end());
  std::vector<UsbBus> buses;
  for (const auto& [number, entry] : hubs) {
    const std::string hub = devices + entry;
    const auto version = readWholeFile(hub + "/version", kMaxSysfsFileBytes);
    const auto product = readWholeFile(hub + "/product", kMaxSysfsFileBytes);
    buses.push_back(
        {usbBusName(version.value_or("")), std::string(trimWhitespace(product.value_or("")))});
  }
  return buses;
}

std::string xmlText(std::string_view text) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string escaped;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t start = position;
    const auto codePoint = nextCodePoint(text, position);
    const bool allowed = codePoint && (*codePoint >= 0x20 || *codePoint == '\t' ||
                                       *codePoint == '\n' || *codePoint == '\r');
    if (!allowed || *codePoint == 0xFFFE || *codePoint == 0xFFFF) {
      escaped += kReplacement;
    } else if (*codePoint == '&') {
      escaped += "&amp;";
    } else if (*codePoint == '<') {
      escaped += "&lt;";
    } else if (*codePoint == '>') {
      escaped += "&gt;";
    } else {
      escaped += text.substr(start, position - start);
    }
  }
  return escaped;
}

std::string usbReportXml(const std::vector<UsbBus>& buses, std::string_view dataType) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n"
      "<array>\n"
      "\t<dict>\n"
      "\t\t<key>_dataType</key>\n"
      "\t\t<string>" +
      xmlText(dataType) + "</string>\n";
  if (buses.empty()) {
    xml += "\t\t<key>_items</key>\n\t\t<array/>\n";
  } else {
    xml += "\t\t<key>_items</key>\n\t\t<array>\n";
    for (const UsbBus& bus : buses) {
      xml += "\t\t\t<dict>\n\t\t\t\t<key>_name</key>\n\t\t\t\t<string>" + xmlText(bus.name) +
             "</string>\n";
      if (!bus.hostController.empty()) {
        xml += "\t\t\t\t<key>host_controller</key>\n\t\t\t\t<string>" +
               xmlText(bus.hostController) + "</string>\n";
      }
      xml += "\t\t\t</dict>\n";
    }
    xml += "\t\t</array>\n";
  }
  xml +=
      "\t\t<key>_parentDataType</key>\n"
      "\t\t<string>SPHardwareDataType</string>\n"
      "\t</dict>\n"
      "</array>\n"
      "</plist>\n";
  return xml;
}

}  // namespace tarq::standin
