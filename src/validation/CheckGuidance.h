#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarq {

// What each check requires and what a person can do when it does not pass: the texts beside the
// checks' own, in one place. Requirements are fixed; remedies carry this machine's numbers where
// they help.
struct CheckDescription {
  // Stable, for programs that read reports: it never changes with a check's texts.
  std::string_view id;
  std::string_view testName;
  std::string_view requirement;
};

// The checks in the order a pass runs them.
inline constexpr std::array<CheckDescription, 8> kChecksInRunOrder = {{
    {"os", "Operating System", "macOS 10.11.6 or later"},
    {"memory", "RAM (Memory)", "4 GB of memory"},
    {"processor", "Processor", "Two processors, 64-bit, faster than 2.4 GHz unless Intel"},
    {"disk", "Primary Hard Drive", "5 GB free on the volume of the Documents folder"},
    {"usb", "USB 2.0/3.0/3.1", "USB 2.0 or later"},
    {"screen", "Screen Resolution", "A main screen of 1024 \u00d7 768 points or more"},
    {"browser", "Supported Browsers", "Google Chrome in /Applications"},
    {"mono", "Mono Framework", "Mono Framework 4 or later"},
}};

namespace Remedy {

// The operating system is older than 10.11.6 (`tooOld`), or a version nobody certified.
std::string operatingSystem(bool tooOld);
// `bytes` of memory, or none where the size could not be read.
std::string memory(std::optional<uint64_t> bytes);
// What of the processor fell short; an unknown count or capability is said as such.
struct ProcessorShortfall {
  bool tooFewOrUnknownCount = false;
  bool countUnknown = false;
  bool not64Bit = false;
  bool capabilityUnknown = false;
  bool tooSlow = false;
};
std::string processor(const ProcessorShortfall& shortfall);
// The volume has `freeBytes` where `neededBytes` are needed.
std::string diskSpace(int64_t freeBytes, int64_t neededBytes);
// No version could be determined (`undetermined`), or the highest is older than 2.0.
std::string usb(bool undetermined);
std::string screen();
std::string browser();
// Mono was not found (`missing`), or is older than 4.
std::string mono(bool missing);

}  // namespace Remedy
}  // namespace tarq
