#include <stdlib.h>
#include <xlocale.h>

#include "system/text/DecimalReal.h"

namespace tarq {

double strtodInCLocale(const char* text, char** end) {
  // Made once and kept for the life of the process.
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t{});
  // Only when memory ran out at the first call; the process locale is then the best left.
  if (cLocale == locale_t{}) {
    return ::strtod(text, end);
  }
  return ::strtod_l(text, end, cLocale);
}

}  // namespace tarq
