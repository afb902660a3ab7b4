#include <algorithm>
#include <string>

#include "system/text/TextParsing.h"
#include "validation/NumberText.h"
#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

constexpr std::string_view kTestName = kTestNamesInRunOrder[2];
constexpr int32_t kMinimumProcessorCount = 2;
// Slower processors warn, unless they are Intel's: their clock understates their speed.
constexpr double kMinimumGigahertz = 2.4;
constexpr uint64_t kBytesPerMegabyte = uint64_t{1} << 20;

template <typename Number>
std::string textOrUnknown(const std::optional<Number>& value) {
  return value ? integerText(*value) : std::string(kUnknownValue);
}

std::string textOrUnknown(const std::optional<std::string>& value) {
  return value ? *value : std::string(kUnknownValue);
}

bool mentionsIntel(std::string_view brand) {
  std::string lowered(brand);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 SystemValuesUtility::asciiLowerCase);
  return lowered.find("intel") != std::string::npos;
}

}  // namespace

void ValidationRunner::checkProcessor() {
  std::string_view status = StatusWord::pass;
  Remedy::ProcessorShortfall shortfall;

  const std::optional<int32_t> count = facts().cpuCount();
  measure(Measurement::ofInteger("count", count));
  if (count && *count >= kMinimumProcessorCount) {
    appendResultLine("Processors count : " + integerText(*count));
  } else {
    status = StatusWord::warn;
    shortfall.tooFewOrUnknownCount = true;
    shortfall.countUnknown = !count;
    appendResultLine("Warning Processors count : " + textOrUnknown(count) +
                     " ideally should be 2 or more");
  }

  // The total counts the levels that could be read; the sum is taken in 64 bits, so two large
  // caches cannot wrap around.
  const std::optional<uint32_t> l2 = facts().l2CacheSize();
  const std::optional<uint32_t> l3 = facts().l3CacheSize();
  measure(Measurement::ofInteger("l2CacheBytes", l2));
  measure(Measurement::ofInteger("l3CacheBytes", l3));
  // The unit belongs to a number: with neither level known the total is just "unknown".
  const std::string total =
      l2 || l3
          ? integerText((uint64_t{l2.value_or(0)} + uint64_t{l3.value_or(0)}) / kBytesPerMegabyte) +
                "MB"
          : std::string(kUnknownValue);
  appendResultLine("Total Cache " + total + " L2 Cache Size: " + textOrUnknown(l2) +
                   " L3 Cache Size: " + textOrUnknown(l3));

  const std::optional<uint32_t> capable = facts().cpu64BitCapable();
  measure(capable ? Measurement::ofBoolean("is64Bit", *capable == 1)
                  : Measurement::unknown("is64Bit"));
  if (!capable) {
    status = StatusWord::warn;
    shortfall.capabilityUnknown = true;
    appendResultLine("Warning cpu 64 bit capability is unknown");
  } else if (*capable == 1) {
    appendResultLine("cpu is 64 bit capable");
  } else {
    status = StatusWord::warn;
    shortfall.not64Bit = true;
    appendResultLine("Warning cpu is NOT 64 bit capable");
  }

  // A machine that does not publish its frequency (ARM Macs do not) is not thereby slow: the
  // speed is reported unknown and the status left as it is.
  const std::optional<int64_t> frequency = facts().cpuFrequency();
  const std::optional<std::string> brand = facts().cpuBrandString();
  measure(Measurement::ofInteger("hertz", frequency));
  measure(Measurement::ofText("brand", brand));
  if (!frequency) {
    appendResultLine("Processor Speed: " + std::string(kUnknownValue));
  } else {
    const double gigahertz = static_cast<double>(*frequency) / 1000000000.0;
    const std::string speed = shortestDecimal(gigahertz);
    if (gigahertz > kMinimumGigahertz || (brand && mentionsIntel(*brand))) {
      appendResultLine("Processor Speed: " + speed + "GHz");
    } else {
      status = StatusWord::warn;
      shortfall.tooSlow = true;
      appendResultLine("Warning Processor Speed: " + speed +
                       "GHz less than desired speed > 2.4 GHz");
    }
  }

  const std::optional<std::string> architecture = facts().machine();
  measure(Measurement::ofText("architecture", architecture));
  const std::string machineType = textOrUnknown(architecture);
  const std::string brandText = textOrUnknown(brand);
  appendResultLine("Processor Type: " + machineType);
  appendResultLine("Processor Name: " + brandText);
  reportResultRow(kTestName, status, brandText + ", " + machineType, Remedy::processor(shortfall));

  if (status == StatusWord::warn) {
    appendResultLine("The above warnings may cause the application to perform below expectations.");
  }
}

}  // namespace tarq
