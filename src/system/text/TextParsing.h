#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/text/TextScanning.h"

// Locale-free helpers for reading the texts that files and tools hand us. None of them goes
// through the C library's locale-dependent conversions: the window toolkit sets the process
// locale, and "2.60" must read the same under every locale.
namespace tarq::SystemValuesUtility {

bool isValidUtf8(std::string_view text);

// The characters of valid UTF-8 `text`, as Unicode scalars: every byte but the continuation bytes.
std::size_t codePointCount(std::string_view text);

// `text` as a person reads it: without the trailing blanks, tabs and line ends that a tool's
// output often ends in.
std::string_view withoutTrailingWhiteSpace(std::string_view text);

// `c` in lower case where it is an ASCII capital; every other byte as it is.
constexpr char asciiLowerCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The lines of `text`, split at line feeds; a last line without one counts too.
std::vector<std::string_view> splitLines(std::string_view text);

// The lines of `text` split at every line end the platform's text services know: line feed,
// carriage return, the pair of both, and U+0085, U+2028 and U+2029 in UTF-8. As with
// splitLines, a line end closes a line, so a text ending in one has no empty last line.
std::vector<std::string_view> splitLinesAtAnyLineEnd(std::string_view text);

// The same for hexadecimal digits, with or without a leading "0x".
std::optional<uint64_t> parseUnsignedHex(std::string_view text);

// A decimal number such as "2596.150" multiplied by `scale` and truncated to an integer,
// computed exactly ("2.60" with scale 1000000000 gives 2600000000). Fraction digits beyond what
// `scale` can express are dropped. No value for malformed text, a negative number or overflow.
std::optional<uint64_t> parseScaledDecimal(std::string_view text, uint64_t scale);

// The leading run of decimal digits of `text` ("18-amd64" gives 18); no value when `text` does
// not start with a digit or the run does not fit.
std::optional<uint64_t> parseLeadingDecimal(std::string_view text);

// The major, minor and patch numbers of a release such as "6.1.0-18-amd64" (6, 1, 0). The
// numbers end where the text stops being digits separated by full stops; the ones missing
// are 0.
std::array<uint64_t, 3> releaseNumbers(std::string_view release);

}  // namespace tarq::SystemValuesUtility
