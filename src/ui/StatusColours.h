#pragma once

#include <wx/colour.h>

#include <optional>
#include <string_view>

namespace tarq {

// How a summary row with a given status is drawn: pure red for "Fail", pure yellow for "Warn",
// each with black text, which reads well on both in light and dark themes. Any other value,
// including "fail" or "WARN", keeps the table's own colours.
struct StatusColours {
  wxColour background;
  wxColour text;
};
std::optional<StatusColours> statusColours(std::string_view result);

}  // namespace tarq
