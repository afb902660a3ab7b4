#include "system/kernel/proc_sys_text_linux.h"

#include <algorithm>
#include <array>
#include <utility>

#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {
namespace {

// The names ARM Ltd gives the cores found on boards and servers, by "CPU part".
constexpr std::array<std::pair<uint64_t, std::string_view>, 18> kArmCoreNames{{
    {0xd03, "Cortex-A53"},
    {0xd04, "Cortex-A35"},
    {0xd05, "Cortex-A55"},
    {0xd07, "Cortex-A57"},
    {0xd08, "Cortex-A72"},
    {0xd09, "Cortex-A73"},
    {0xd0a, "Cortex-A75"},
    {0xd0b, "Cortex-A76"},
    {0xd0c, "Neoverse-N1"},
    {0xd0d, "Cortex-A77"},
    {0xd40, "Neoverse-V1"},
    {0xd41, "Cortex-A78"},
    {0xd44, "Cortex-X1"},
    {0xd46, "Cortex-A510"},
    {0xd47, "Cortex-A710"},
    {0xd48, "Cortex-X2"},
    {0xd49, "Neoverse-N2"},
    {0xd4f, "Neoverse-V2"},
}};

constexpr uint64_t kArmLimitedImplementer = 0x41;

}  // namespace

std::vector<std::string_view> colonFieldValues(std::string_view text, std::string_view key) {
  std::vector<std::string_view> values;
  for (const std::string_view line : splitLines(text)) {
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && trimWhitespace(line.substr(0, colon)) == key) {
      values.push_back(trimWhitespace(line.substr(colon + 1)));
    }
  }
  return values;
}

std::optional<std::string_view> colonField(std::string_view text, std::string_view key) {
  for (const std::string_view value : colonFieldValues(text, key)) {
    if (!value.empty()) {
      return value;
    }
  }
  return std::nullopt;
}

bool isNumberedEntry(std::string_view entry, std::string_view name) {
  return entry.starts_with(name) && parseUnsignedDecimal(entry.substr(name.size())).has_value();
}

std::optional<uint64_t> parseCacheSize(std::string_view text) {
  uint64_t multiplier = 1;
  if (!text.empty()) {
    switch (text.back()) {
      case 'K':
        multiplier = uint64_t{1} << 10;
        break;
      case 'M':
        multiplier = uint64_t{1} << 20;
        break;
      case 'G':
        multiplier = uint64_t{1} << 30;
        break;
      default:
        break;
    }
  }
  if (multiplier != 1) {
    text.remove_suffix(1);
  }
  const auto count = parseUnsignedDecimal(text);
  uint64_t bytes = 0;
  if (!count || __builtin_mul_overflow(*count, multiplier, &bytes)) {
    return std::nullopt;
  }
  return bytes;
}

std::optional<uint64_t> countInCpuList(std::string_view list) {
  list = trimWhitespace(list);
  if (list.empty()) {
    return std::nullopt;
  }
  uint64_t count = 0;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view range = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    const std::size_t dash = range.find('-');
    const auto first = parseUnsignedDecimal(range.substr(0, dash));
    const auto last =
        dash == std::string_view::npos ? first : parseUnsignedDecimal(range.substr(dash + 1));
    if (!first || !last || *last < *first || *last - *first >= (uint64_t{1} << 31)) {
      return std::nullopt;
    }
    count += *last - *first + 1;
  }
  return count;
}

std::optional<uint64_t> frequencyInModelName(std::string_view modelName) {
  const std::size_t at = modelName.rfind('@');
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  std::string_view figure = trimWhitespace(modelName.substr(at + 1));
  uint64_t scale = 0;
  if (figure.ends_with("GHz")) {
    scale = 1'000'000'000;
  } else if (figure.ends_with("MHz")) {
    scale = 1'000'000;
  } else {
    return std::nullopt;
  }
  figure.remove_suffix(3);
  return parseScaledDecimal(trimWhitespace(figure), scale);
}

std::optional<std::string> armCoreName(std::string_view cpuinfo) {
  const auto implementerText = colonField(cpuinfo, "CPU implementer");
  const auto partText = colonField(cpuinfo, "CPU part");
  if (!implementerText || !partText) {
    return std::nullopt;
  }
  const auto implementer = parseUnsignedHex(*implementerText);
  const auto part = parseUnsignedHex(*partText);
  if (implementer == kArmLimitedImplementer && part) {
    const auto known = std::find_if(kArmCoreNames.begin(), kArmCoreNames.end(),
                                    [&](const auto& core) { return core.first == *part; });
    if (known != kArmCoreNames.end()) {
      return "ARM " + std::string(known->second);
    }
  }
  return "CPU implementer " + std::string(*implementerText) + " part " + std::string(*partText);
}

}  // namespace tarq::SystemValuesUtility
