#pragma once

#include <optional>
#include <string_view>

namespace tarq::SystemValuesUtility {

// The whole of `text` as a floating-point number read in the C locale, whatever locale the
// process has set: "3.10", "3." (3), "-1e3", "nan", "infinity". No value when `text` is empty,
// starts with whitespace or has anything left over.
std::optional<double> parseRealInCLocale(std::string_view text);

}  // namespace tarq::SystemValuesUtility
