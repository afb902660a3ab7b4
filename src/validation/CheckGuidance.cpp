#include "validation/CheckGuidance.h"

#include <fmt/format.h>

#include <cmath>

namespace tarq::Remedy {
namespace {

constexpr double kBytesPerGigabyte = 1073741824.0;

// Gigabytes with one decimal, rounded up, so that freeing what it says is always enough.
std::string gigabytesAtLeast(double bytes) {
  return fmt::format("{:.1f} GB", std::ceil(bytes / kBytesPerGigabyte * 10.0) / 10.0);
}

}  // namespace

std::string operatingSystem(bool tooOld) {
  return tooOld ? "Update macOS to version 10.11.6 or later."
                : "Ask the client application's support whether this version of macOS is "
                  "supported.";
}

std::string memory(std::optional<uint64_t> bytes) {
  if (!bytes) {
    return "Check in About This Mac that this computer has at least 4 GB of memory.";
  }
  return fmt::format("Install more memory: this computer has {:.1f} GB, and 4 GB is needed.",
                     static_cast<double>(*bytes) / kBytesPerGigabyte);
}

std::string processor(const ProcessorShortfall& shortfall) {
  std::string remedy;
  const auto add = [&remedy](std::string_view sentence) {
    remedy += remedy.empty() ? "" : " ";
    remedy += sentence;
  };
  if (shortfall.countUnknown) {
    add("Check in About This Mac that this computer has two or more processors.");
  } else if (shortfall.tooFewOrUnknownCount) {
    add("Use a computer with two or more processors.");
  }
  if (shortfall.capabilityUnknown) {
    add("Check in About This Mac that the processor is 64-bit.");
  } else if (shortfall.not64Bit) {
    add("Use a computer with a 64-bit processor.");
  }
  if (shortfall.tooSlow) {
    add("Use a processor faster than 2.4 GHz.");
  }
  return remedy;
}

std::string diskSpace(int64_t freeBytes, int64_t neededBytes) {
  return "Free at least " + gigabytesAtLeast(static_cast<double>(neededBytes - freeBytes)) +
         " more on the volume of your Documents folder.";
}

std::string usb(bool undetermined) {
  return undetermined
             ? "Check in System Information that this computer has a USB 2.0 or later port."
             : "Use a computer with a USB 2.0 or later port.";
}

std::string screen() {
  return "Set the display to 1024 \u00d7 768 or higher.";
}

std::string browser() {
  return "Install Google Chrome in /Applications.";
}

std::string mono(bool missing) {
  return missing ? "Install Mono Framework 4 or later."
                 : "Update Mono Framework to version 4 or later.";
}

}  // namespace tarq::Remedy
