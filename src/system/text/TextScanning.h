#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The smallest text readers, defined here whole, shared by the programs and the stand-in
// profiler (see standins/).
namespace tarq::SystemValuesUtility {

constexpr bool isDecimalDigit(char c) {
  return c >= '0' && c <= '9';
}

// value * multiplier + addend, unless that overflows.
constexpr std::optional<uint64_t> multiplyAdd(uint64_t value, uint64_t multiplier,
                                              uint64_t addend) {
  uint64_t product = 0;
  uint64_t sum = 0;
  if (__builtin_mul_overflow(value, multiplier, &product) ||
      __builtin_add_overflow(product, addend, &sum)) {
    return std::nullopt;
  }
  return sum;
}

// Decodes the UTF-8 sequence at `position` and moves past it. An ill-formed sequence (stray
// continuation byte, overlong form, surrogate, beyond U+10FFFF, cut short) gives no value and
// moves past its first byte only.
constexpr std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& position) {
  const auto lead = static_cast<unsigned char>(text[position]);
  const std::size_t start = position++;
  std::size_t length = 0;
  char32_t codePoint = 0;
  if (lead < 0x80) {
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07u;
  } else {
    return std::nullopt;
  }
  if (text.size() - start < length) {
    return std::nullopt;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto continuation = static_cast<unsigned char>(text[start + k]);
    if ((continuation & 0xC0u) != 0x80u) {
      return std::nullopt;
    }
    codePoint = (codePoint << 6) | (continuation & 0x3Fu);
  }
  const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (overlong || surrogate || codePoint > 0x10FFFF) {
    return std::nullopt;
  }
  position = start + length;
  return codePoint;
}

// `text` without leading and trailing blanks, tabs, carriage returns and line feeds.
constexpr std::string_view trimWhitespace(std::string_view text) {
  const auto isWhitespace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t first = 0;
  std::size_t end = text.size();
  while (first < end && isWhitespace(text[first])) {
    ++first;
  }
  while (end > first && isWhitespace(text[end - 1])) {
    --end;
  }
  return {text.data() + first, end - first};
}

// A whole run of decimal digits as an unsigned number; no value when `text` is empty, holds
// anything but digits, or does not fit.
constexpr std::optional<uint64_t> parseUnsignedDecimal(std::string_view text) {
  if (text.empty()) {
    return std::nullopt;
  }
  uint64_t value = 0;
  for (const char c : text) {
    if (!isDecimalDigit(c)) {
      return std::nullopt;
    }
    const auto next = multiplyAdd(value, 10, static_cast<uint64_t>(c - '0'));
    if (!next) {
      return std::nullopt;
    }
    value = *next;
  }
  return value;
}

}  // namespace tarq::SystemValuesUtility
