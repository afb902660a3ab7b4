#include "system/text/DecimalReal.h"

#include <locale.h>
#include <stdlib.h>

#include <string>

namespace tarq::SystemValuesUtility {
namespace {

// The C library's strtod in the C locale, whatever locale the process has set.
double strtodInCLocale(const char* text, char** end) {
  // Made once and kept for the life of the process.
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t{});
  // Only when memory ran out at the first call; the process locale is then the best left.
  if (cLocale == locale_t{}) {
    return ::strtod(text, end);
  }
  return ::strtod_l(text, end, cLocale);
}

}  // namespace

std::optional<double> parseRealInCLocale(std::string_view text) {
  if (text.empty() || text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
      text.front() == '\r' || text.front() == '\f' || text.front() == '\v') {
    return std::nullopt;
  }
  // strtod wants a terminated text, and stops at an embedded NUL, which then counts as left over.
  const std::string terminated(text);
  char* end = nullptr;
  const double value = strtodInCLocale(terminated.c_str(), &end);
  if (end != terminated.c_str() + terminated.size()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace tarq::SystemValuesUtility
