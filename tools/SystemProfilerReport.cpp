#include "SystemProfilerReport.h"

#include <optional>

#include "KernelCalls.h"
#include "system/text/TextScanning.h"

namespace tarq::standin {
namespace {

// A root hub's files are a few bytes; anything larger is not one.
constexpr std::size_t kMaxSysfsFileBytes = 4096;
// The kernel numbers at most 64 buses; entries beyond this many are not read.
constexpr std::size_t kMaxRootHubs = 256;
// Room for a path: the longest the kernel takes, and the name of a hub's file after it.
constexpr std::size_t kMaxPathBytes = 4096 + 64;
// Where the root hubs are, under the sysfs root.
constexpr std::string_view kDevicesFolder = "/bus/usb/devices/";

// `number` in decimal, written into `digits`.
std::string_view decimalText(uint64_t number, char (&digits)[20]) {
  std::size_t start = sizeof digits;
  do {
    digits[--start] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  return {digits + start, sizeof digits - start};
}

// A path put together from pieces; none when it does not fit.
class Path {
 public:
  Path() { text_[0] = '\0'; }
  Path& operator<<(std::string_view piece) {
    if (fits_ && piece.size() < sizeof text_ - size_) {
      for (const char c : piece) {
        text_[size_++] = c;
      }
      text_[size_] = '\0';
    } else {
      fits_ = false;
    }
    return *this;
  }
  // The path for the kernel, or nothing when it did not fit.
  const char* text() const { return fits_ ? text_ : nullptr; }

 private:
  char text_[kMaxPathBytes];
  std::size_t size_ = 0;
  bool fits_ = true;
};

// The whole of a small file, read into `buffer`; nothing when it cannot be opened or read, or
// holds more than kMaxSysfsFileBytes.
std::optional<std::string_view> readSmallFile(const char* path,
                                              char (&buffer)[kMaxSysfsFileBytes + 1]) {
  const int descriptor = path != nullptr ? openForReading(path, false) : -ENOENT;
  if (descriptor < 0) {
    return std::nullopt;
  }
  std::size_t size = 0;
  long count = 0;
  while (size < sizeof buffer &&
         (count = readSome(descriptor, buffer + size, sizeof buffer - size)) != 0) {
    if (count == -EINTR) {
      continue;
    }
    if (count < 0) {
      break;
    }
    size += static_cast<std::size_t>(count);
  }
  closeDescriptor(descriptor);
  if (count < 0 || size > kMaxSysfsFileBytes) {
    return std::nullopt;
  }
  return std::string_view(buffer, size);
}

struct RootHub {
  uint64_t number;
  std::size_t nameLength;
  char nameBytes[256];  // the longest file name fits

  std::string_view name() const { return {nameBytes, nameLength}; }
};

// The bus number of a root hub entry ("usb12" gives 12).
std::optional<uint64_t> busNumber(std::string_view entry) {
  constexpr std::string_view kPrefix = "usb";
  if (!beginsWith(entry, kPrefix)) {
    return std::nullopt;
  }
  entry.remove_prefix(kPrefix.size());
  return parseUnsignedDecimal(entry);
}

bool comesBefore(const RootHub& first, const RootHub& second) {
  return first.number != second.number ? first.number < second.number
                                       : first.name() < second.name();
}

// The root hubs in `devices` into `hubs`, and their places there in bus number order into
// `order`; their count.
std::size_t readRootHubs(const char* devices, RootHub (&hubs)[kMaxRootHubs],
                         std::size_t (&order)[kMaxRootHubs]) {
  const int descriptor = devices != nullptr ? openForReading(devices, true) : -ENOENT;
  if (descriptor < 0) {
    return 0;
  }
  std::size_t count = 0;
  alignas(8) char records[4096];
  long filled = 0;
  while ((filled = readDirectoryEntries(descriptor, records, sizeof records)) > 0) {
    // Each record: inode (8 bytes), offset (8), its own length (2), type (1), then the name
    // ending in a null.
    for (long at = 0; at < filled;) {
      uint16_t recordLength = 0;
      __builtin_memcpy(&recordLength, records + at + 16, sizeof recordLength);
      if (recordLength == 0) {
        break;  // not a record the kernel writes; never loop on it
      }
      const std::string_view name(records + at + 19);
      at += recordLength;
      const auto number = busNumber(name);
      if (!number || count == kMaxRootHubs || name.size() > sizeof hubs[0].nameBytes) {
        continue;
      }
      RootHub& hub = hubs[count];
      hub.number = *number;
      hub.nameLength = name.size();
      __builtin_memcpy(hub.nameBytes, name.data(), name.size());
      // Insertion keeps the order sorted; there are a handful.
      std::size_t slot = count;
      for (; slot > 0 && comesBefore(hub, hubs[order[slot - 1]]); --slot) {
        order[slot] = order[slot - 1];
      }
      order[slot] = count++;
    }
  }
  closeDescriptor(descriptor);
  return count;
}

}  // namespace

ReportStream& ReportStream::operator<<(std::string_view text) {
  while (!text.empty()) {
    if (used_ == sizeof buffer_) {
      drainBuffer();
    }
    const std::size_t piece =
        text.size() < sizeof buffer_ - used_ ? text.size() : sizeof buffer_ - used_;
    __builtin_memcpy(buffer_ + used_, text.data(), piece);
    used_ += piece;
    text.remove_prefix(piece);
  }
  return *this;
}

void ReportStream::drainBuffer() {
  if (!failed_ && used_ > 0 && !drain_(context_, std::string_view(buffer_, used_))) {
    failed_ = true;
  }
  used_ = 0;
}

bool ReportStream::finish() {
  drainBuffer();
  return !failed_;
}

UsbBusName::UsbBusName(std::string_view versionFile) {
  const auto append = [this](std::string_view piece) {
    __builtin_memcpy(text_ + size_, piece.data(), piece.size());
    size_ += piece.size();
  };
  // The kernel writes the hub's BCD release as "%2x.%02x": major, then minor and sub-minor.
  const std::string_view version = trimWhitespace(versionFile);
  const std::size_t point = version.find('.');
  const std::string_view majorText(version.data(),
                                   point == std::string_view::npos ? version.size() : point);
  const std::string_view minor =
      point == std::string_view::npos
          ? std::string_view{}
          : std::string_view(version.data() + point + 1, version.size() - point - 1);
  const auto major = parseUnsignedDecimal(majorText);
  if (!major || minor.size() != 2 || !parseUnsignedDecimal(minor)) {
    append("USB Bus");
    return;
  }
  char digits[20];
  append("USB ");
  append(decimalText(*major, digits));
  append(".");
  append(std::string_view(minor.data(), 1));
  append(" Bus");
}

void writeXmlText(ReportStream& out, std::string_view text) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t start = position;
    const auto codePoint = nextCodePoint(text, position);
    const bool allowed = codePoint && (*codePoint >= 0x20 || *codePoint == '\t' ||
                                       *codePoint == '\n' || *codePoint == '\r');
    if (!allowed || *codePoint == 0xFFFE || *codePoint == 0xFFFF) {
      out << kReplacement;
    } else if (*codePoint == '&') {
      out << "&amp;";
    } else if (*codePoint == '<') {
      out << "&lt;";
    } else if (*codePoint == '>') {
      out << "&gt;";
    } else {
      out << std::string_view(text.data() + start, position - start);
    }
  }
}

void writeUsbReport(ReportStream& out, std::string_view sysfsRoot, std::string_view dataType) {
  Path devices;
  devices << sysfsRoot << kDevicesFolder;
  RootHub hubs[kMaxRootHubs];
  std::size_t order[kMaxRootHubs];
  const std::size_t hubCount = readRootHubs(devices.text(), hubs, order);

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n"
         "<array>\n"
         "\t<dict>\n"
         "\t\t<key>_dataType</key>\n"
         "\t\t<string>";
  writeXmlText(out, dataType);
  out << "</string>\n";
  if (hubCount == 0) {
    out << "\t\t<key>_items</key>\n\t\t<array/>\n";
  } else {
    out << "\t\t<key>_items</key>\n\t\t<array>\n";
    for (std::size_t k = 0; k < hubCount; ++k) {
      const RootHub& hub = hubs[order[k]];
      char fileBytes[kMaxSysfsFileBytes + 1];
      Path version;
      version << sysfsRoot << kDevicesFolder << hub.name() << "/version";
      const UsbBusName name(readSmallFile(version.text(), fileBytes).value_or(""));
      out << "\t\t\t<dict>\n\t\t\t\t<key>_name</key>\n\t\t\t\t<string>";
      writeXmlText(out, name.text());
      out << "</string>\n";
      Path product;
      product << sysfsRoot << kDevicesFolder << hub.name() << "/product";
      const std::string_view hostController =
          trimWhitespace(readSmallFile(product.text(), fileBytes).value_or(""));
      if (!hostController.empty()) {
        out << "\t\t\t\t<key>host_controller</key>\n\t\t\t\t<string>";
        writeXmlText(out, hostController);
        out << "</string>\n";
      }
      out << "\t\t\t</dict>\n";
    }
    out << "\t\t</array>\n";
  }
  out << "\t\t<key>_parentDataType</key>\n"
         "\t\t<string>SPHardwareDataType</string>\n"
         "\t</dict>\n"
         "</array>\n"
         "</plist>\n";
}

}  // namespace tarq::standin
