#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {

bool isValidUtf8(std::string_view text) {
  std::size_t position = 0;
  while (position < text.size()) {
    if (!nextCodePoint(text, position)) {
      return false;
    }
  }
  return true;
}

std::string_view withoutTrailingWhiteSpace(std::string_view text) {
  const std::size_t end = text.find_last_not_of(" \t\n\r\v\f");
  return text.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

std::size_t codePointCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
  }
  return count;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t lineEnd = text.find('\n');
    lines.push_back(text.substr(0, lineEnd));
    text = lineEnd == std::string_view::npos ? std::string_view{} : text.substr(lineEnd + 1);
  }
  return lines;
}

std::vector<std::string_view> splitLinesAtAnyLineEnd(std::string_view text) {
  // Length of the line end starting at `at`, or 0. The lead bytes 0xC2 and 0xE2 never occur
  // inside another character, so the multi-byte line ends are recognised byte by byte.
  const auto lineEndLength = [text](std::size_t at) -> std::size_t {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("\r\n")) {
      return 2;
    }
    if (rest[0] == '\n' || rest[0] == '\r') {
      return 1;
    }
    if (rest.starts_with("\xC2\x85")) {
      return 2;
    }
    if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9")) {
      return 3;
    }
    return 0;
  };
  std::vector<std::string_view> lines;
  std::size_t lineStart = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t length = lineEndLength(at);
    if (length == 0) {
      ++at;
      continue;
    }
    lines.push_back(text.substr(lineStart, at - lineStart));
    at += length;
    lineStart = at;
  }
  if (lineStart < text.size()) {
    lines.push_back(text.substr(lineStart));
  }
  return lines;
}

std::optional<uint64_t> parseUnsignedHex(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
  }
  if (text.empty()) {
    return std::nullopt;
  }
  uint64_t value = 0;
  for (const char c : text) {
    uint64_t digit = 0;
    if (isDecimalDigit(c)) {
      digit = static_cast<uint64_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint64_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint64_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    const auto next = multiplyAdd(value, 16, digit);
    if (!next) {
      return std::nullopt;
    }
    value = *next;
  }
  return value;
}

std::optional<uint64_t> parseScaledDecimal(std::string_view text, uint64_t scale) {
  const std::size_t point = text.find('.');
  const std::string_view wholePart = text.substr(0, point);
  const std::string_view fractionPart =
      point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
  if (wholePart.empty() && fractionPart.empty()) {
    return std::nullopt;
  }
  const auto whole =
      wholePart.empty() ? std::optional<uint64_t>(0) : parseUnsignedDecimal(wholePart);
  if (!whole) {
    return std::nullopt;
  }
  auto result = multiplyAdd(*whole, scale, 0);
  // Each fraction digit is worth a tenth of the one before it, starting at scale / 10.
  uint64_t digitWorth = scale;
  for (const char c : fractionPart) {
    if (!isDecimalDigit(c)) {
      return std::nullopt;
    }
    digitWorth /= 10;
    if (result) {
      result = multiplyAdd(static_cast<uint64_t>(c - '0'), digitWorth, *result);
    }
  }
  return result;
}

std::optional<uint64_t> parseLeadingDecimal(std::string_view text) {
  std::size_t digits = 0;
  while (digits < text.size() && isDecimalDigit(text[digits])) {
    ++digits;
  }
  return parseUnsignedDecimal(text.substr(0, digits));
}

std::array<uint64_t, 3> releaseNumbers(std::string_view release) {
  std::array<uint64_t, 3> numbers{};
  for (uint64_t& number : numbers) {
    const auto value = parseLeadingDecimal(release);
    if (!value) {
      break;
    }
    number = *value;
    const std::size_t end = release.find_first_not_of("0123456789");
    if (end == std::string_view::npos || release[end] != '.') {
      break;
    }
    release.remove_prefix(end + 1);
  }
  return numbers;
}

}  // namespace tarq::SystemValuesUtility
