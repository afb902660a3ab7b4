#include "SystemProfilerReport.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <vector>

#include "system/text/TextScanning.h"

namespace tarq::standin {

// The programs' own readers of numbers and UTF-8.
using SystemValuesUtility::nextCodePoint;
using SystemValuesUtility::parseUnsignedDecimal;
using SystemValuesUtility::trimWhitespace;
namespace {

// A root hub's files are a few bytes; anything larger is not one.
constexpr std::size_t kMaxSysfsFileBytes = 4096;
// The kernel numbers at most 64 buses; entries beyond this many are not read.
constexpr std::size_t kMaxRootHubs = 256;
// Where the root hubs are, under the sysfs root.
constexpr std::string_view kDevicesFolder = "/bus/usb/devices/";

// The whole of a small file; nothing when it cannot be opened or read, or holds more than
// kMaxSysfsFileBytes.
std::optional<std::string> readSmallFile(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    return std::nullopt;
  }
  std::string text(kMaxSysfsFileBytes + 1, '\0');
  std::size_t size = 0;
  ssize_t count = 0;
  while (size < text.size() &&
         (count = ::read(descriptor, text.data() + size, text.size() - size)) != 0) {
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      break;
    }
    size += static_cast<std::size_t>(count);
  }
  ::close(descriptor);
  if (count < 0 || size > kMaxSysfsFileBytes) {
    return std::nullopt;
  }
  text.resize(size);
  return text;
}

struct RootHub {
  uint64_t number;
  std::string name;
};

// The bus number of a root hub entry ("usb12" gives 12).
std::optional<uint64_t> busNumber(std::string_view entry) {
  constexpr std::string_view kPrefix = "usb";
  if (!entry.starts_with(kPrefix)) {
    return std::nullopt;
  }
  entry.remove_prefix(kPrefix.size());
  return parseUnsignedDecimal(entry);
}

bool comesBefore(const RootHub& first, const RootHub& second) {
  return first.number != second.number ? first.number < second.number : first.name < second.name;
}

// The root hubs in `devices`, in bus number order.
std::vector<RootHub> readRootHubs(const std::string& devices) {
  std::vector<RootHub> hubs;
  DIR* const directory = ::opendir(devices.c_str());
  if (directory == nullptr) {
    return hubs;
  }
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view name(entry->d_name);
    const auto number = busNumber(name);
    if (number && hubs.size() < kMaxRootHubs) {
      hubs.push_back({*number, std::string(name)});
    }
  }
  ::closedir(directory);
  std::sort(hubs.begin(), hubs.end(), comesBefore);
  return hubs;
}

}  // namespace

std::string usbBusName(std::string_view versionFile) {
  // The kernel writes the hub's BCD release as "%2x.%02x": major, then minor and sub-minor.
  const std::string_view version = trimWhitespace(versionFile);
  const std::size_t point = version.find('.');
  const std::string_view majorText = version.substr(0, point);
  const std::string_view minor =
      point == std::string_view::npos ? std::string_view{} : version.substr(point + 1);
  const auto major = parseUnsignedDecimal(majorText);
  if (!major || minor.size() != 2 || !parseUnsignedDecimal(minor)) {
    return "USB Bus";
  }
  return "USB " + std::to_string(*major) + "." + std::string(minor.substr(0, 1)) + " Bus";
}

void writeXmlText(std::string& out, std::string_view text) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t start = position;
    const auto codePoint = nextCodePoint(text, position);
    const bool allowed = codePoint && (*codePoint >= 0x20 || *codePoint == '\t' ||
                                       *codePoint == '\n' || *codePoint == '\r');
    if (!allowed || *codePoint == 0xFFFE || *codePoint == 0xFFFF) {
      out += kReplacement;
    } else if (*codePoint == '&') {
      out += "&amp;";
    } else if (*codePoint == '<') {
      out += "&lt;";
    } else if (*codePoint == '>') {
      out += "&gt;";
    } else {
      out += text.substr(start, position - start);
    }
  }
}

std::string usbReport(std::string_view sysfsRoot, std::string_view dataType) {
  const std::string devices = std::string(sysfsRoot) + std::string(kDevicesFolder);
  const std::vector<RootHub> hubs = readRootHubs(devices);

  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n"
      "<array>\n"
      "\t<dict>\n"
      "\t\t<key>_dataType</key>\n"
      "\t\t<string>";
  writeXmlText(out, dataType);
  out += "</string>\n";
  if (hubs.empty()) {
    out += "\t\t<key>_items</key>\n\t\t<array/>\n";
  } else {
    out += "\t\t<key>_items</key>\n\t\t<array>\n";
    for (const RootHub& hub : hubs) {
      const std::string folder = devices + hub.name;
      out += "\t\t\t<dict>\n\t\t\t\t<key>_name</key>\n\t\t\t\t<string>";
      writeXmlText(out, usbBusName(readSmallFile(folder + "/version").value_or("")));
      out += "</string>\n";
      const std::string product = readSmallFile(folder + "/product").value_or("");
      const std::string_view hostController = trimWhitespace(product);
      if (!hostController.empty()) {
        out += "\t\t\t\t<key>host_controller</key>\n\t\t\t\t<string>";
        writeXmlText(out, hostController);
        out += "</string>\n";
      }
      out += "\t\t\t</dict>\n";
    }
    out += "\t\t</array>\n";
  }
  out +=
      "\t\t<key>_parentDataType</key>\n"
      "\t\t<string>SPHardwareDataType</string>\n"
      "\t</dict>\n"
      "</array>\n"
      "</plist>\n";
  return out;
}

}  // namespace tarq::standin
