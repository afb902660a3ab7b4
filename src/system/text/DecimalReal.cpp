#include "system/text/DecimalReal.h"

#include <string>

namespace tarq {

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

}  // namespace tarq
