#pragma once

#include <cstdint>
#include <string>

// Numbers as the result texts show them. Nothing here consults the process locale: the
// decimal separator is always a full stop, whatever locale the window toolkit has set.
namespace tarq {

// One digit after the point, then a blank, as printf's "%.1f " writes it: 16 gives "16.0 ".
std::string oneDecimalWithBlank(double value);

// Plain decimal digits without grouping.
std::string integerText(int64_t value);
std::string integerText(uint64_t value);
inline std::string integerText(int32_t value) {
  return integerText(static_cast<int64_t>(value));
}
inline std::string integerText(uint32_t value) {
  return integerText(static_cast<uint64_t>(value));
}

// The shortest decimal that reads back as the same double, with at least one digit after the
// point: 3 gives "3.0", 2.6 gives "2.6", 2.600002 gives "2.600002". Always positional, whatever
// the magnitude: 1e17 gives "100000000000000000.0" and 1e-5 "0.00001", never an exponent, so
// that a result line reads as a plain number.
std::string shortestDecimal(double value);

}  // namespace tarq
