#include "validation/NumberText.h"

#include <fmt/format.h>

#include <cmath>
#include <string_view>

#include "system/text/TextParsing.h"

namespace tarq {
namespace {

// The shortest round-trip digits of a finite, positive value and its decimal exponent:
// value = 0.d1d2d3... × 10^pointPosition.
struct ShortestDigits {
  std::string digits;
  int pointPosition = 0;
};

ShortestDigits shortestDigits(double value) {
  // {fmt}'s default presentation is the shortest round-trip form, in either fixed or
  // exponent notation; take its digits and exponent apart and lay them out ourselves.
  const std::string text = fmt::format("{}", value);
  const std::size_t exponentMark = text.find('e');
  const std::string_view mantissa = std::string_view(text).substr(0, exponentMark);
  int exponent = 0;
  if (exponentMark != std::string::npos) {
    // "e+16" or "e-05": three decimal digits at most
    const auto magnitude =
        SystemValuesUtility::parseUnsignedDecimal(std::string_view(text).substr(exponentMark + 2));
    exponent = static_cast<int>(magnitude.value_or(0));
    if (text[exponentMark + 1] == '-') {
      exponent = -exponent;
    }
  }

  ShortestDigits result;
  int digitsBeforePoint = 0;
  bool seenPoint = false;
  for (const char c : mantissa) {
    if (c == '.') {
      seenPoint = true;
    } else if (result.digits.empty() && c == '0') {
      if (seenPoint) {
        --digitsBeforePoint;  // leading zeros after the point shift the point left
      }
    } else {
      result.digits.push_back(c);
      if (!seenPoint) {
        ++digitsBeforePoint;
      }
    }
  }
  while (result.digits.size() > 1 && result.digits.back() == '0') {
    result.digits.pop_back();
  }
  result.pointPosition = digitsBeforePoint + exponent;
  return result;
}

}  // namespace

std::string oneDecimalWithBlank(double value) {
  return fmt::format("{:.1f} ", value);
}

std::string integerText(int64_t value) {
  return fmt::format("{}", value);
}

std::string integerText(uint64_t value) {
  return fmt::format("{}", value);
}

std::string shortestDecimal(double value) {
  if (std::isnan(value)) {
    return "nan";
  }
  const std::string sign = std::signbit(value) ? "-" : "";
  if (std::isinf(value)) {
    return sign + "inf";
  }
  const double magnitude = std::fabs(value);
  if (magnitude == 0.0) {
    return sign + "0.0";
  }

  const ShortestDigits shortest = shortestDigits(magnitude);
  const std::string& digits = shortest.digits;
  const int point = shortest.pointPosition;
  const auto digitCount = static_cast<int>(digits.size());

  if (point <= 0) {
    return sign + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
  }
  if (point >= digitCount) {
    return sign + digits + std::string(static_cast<std::size_t>(point - digitCount), '0') + ".0";
  }
  const auto split = static_cast<std::size_t>(point);
  return sign + digits.substr(0, split) + "." + digits.substr(split);
}

}  // namespace tarq
