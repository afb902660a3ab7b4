#pragma once

#include <wx/bmpbndl.h>
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

// The marker drawn before a row's status word, in the status colour with a dark rim so that it
// also shows on a selected row: a disc for "Fail", a triangle for "Warn", drawn as vectors for any
// desktop scale; for a status without colours a clear one of the same size, which keeps the words
// lined up. Made once, as the bitmaps need the toolkit started.
class StatusMarkers {
 public:
  StatusMarkers();
  const wxBitmapBundle& marker(std::string_view result) const;

 private:
  wxBitmapBundle fail_;
  wxBitmapBundle warn_;
  wxBitmapBundle none_;
};

}  // namespace tarq
