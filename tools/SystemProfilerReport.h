#pragma once

#include <cstddef>
#include <string_view>

// The Linux stand-in for the platform's system profiler: the USB report, read from sysfs and
// written as the same XML property list the platform's tool prints. It allocates nothing and
// uses nothing of the C or C++ runtime (see KernelCalls.h).
namespace tarq::standin {

// Whether `text` begins with `prefix`. The library's starts_with goes through substr, whose
// throw only the optimiser removes, and the stand-in has no exceptions to throw.
constexpr bool beginsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && std::string_view(text.data(), prefix.size()) == prefix;
}

// Text streamed through a fixed buffer to `drain`, each time the buffer fills and at the end.
class ReportStream {
 public:
  // Takes the next piece of the text; false when it could not.
  using Drain = bool (*)(void* context, std::string_view text);

  ReportStream(Drain drain, void* context) : drain_(drain), context_(context) {}
  ReportStream(const ReportStream&) = delete;
  ReportStream& operator=(const ReportStream&) = delete;

  ReportStream& operator<<(std::string_view text);

  // Drains what is left; false when any drain failed.
  bool finish();

 private:
  void drainBuffer();

  Drain drain_;
  void* context_;
  char buffer_[4096];
  std::size_t used_ = 0;
  bool failed_ = false;
};

// The bus name for a root hub's "version" file: " 3.10\n" gives "USB 3.1 Bus", " 2.00" gives
// "USB 2.0 Bus". A text that is not a version gives "USB Bus", which names no version.
class UsbBusName {
 public:
  explicit UsbBusName(std::string_view versionFile);
  std::string_view text() const { return {text_, size_}; }

 private:
  char text_[32];  // "USB ", a 64-bit major number, ".", one digit and " Bus" fit
  std::size_t size_ = 0;
};

// `text` as XML character data: markup characters escaped, characters XML cannot carry (most
// control characters, ill-formed UTF-8) replaced by U+FFFD.
void writeXmlText(ReportStream& out, std::string_view text);

// The report of `system_profiler -xml <dataType>` for either USB data type: a root array with
// one dictionary, naming `dataType`, whose "_items" holds one dictionary per bus. The buses are
// the root hubs "usb1", "usb2", ... under `sysfsRoot`/bus/usb/devices, in bus number order;
// none when the folder is missing, as on a machine without USB.
void writeUsbReport(ReportStream& out, std::string_view sysfsRoot, std::string_view dataType);

}  // namespace tarq::standin
