#include "ui/StatusColours.h"

#include <wx/image.h>

#include <algorithm>

#include "validation/ResultRecords.h"

namespace tarq {
namespace {

constexpr int kMarkerSize = 12;

// Drawn as vectors, so the markers stay crisp at any desktop scale. The two differ in shape as
// well as colour, for those who cannot tell red from yellow: "Fail" a disc, "Warn" a triangle
// standing on its base, each in the status colour with a dark rim.
wxBitmapBundle drawnMarker(std::string_view status) {
  const std::optional<StatusColours> colours = statusColours(status);
  if (!colours) {
    // A clear one of the same size; the toolkit scales it as it likes.
    wxImage image(kMarkerSize, kMarkerSize);
    image.InitAlpha();
    std::fill_n(image.GetAlpha(), kMarkerSize * kMarkerSize, 0);
    return wxBitmapBundle(wxBitmap(image));
  }
  const wxString fill = colours->background.GetAsString(wxC2S_HTML_SYNTAX);
  const char* shape = status == StatusWord::fail
                          ? R"(<circle cx="6" cy="6" r="5.25")"
                          : R"(<path d="M6 0.9 L11.3 11.1 L0.7 11.1 Z" stroke-linejoin="round")";
  const wxString svg = wxString::Format(
      R"(<svg xmlns="http://www.w3.org/2000/svg" width="12" height="12" viewBox="0 0 12 12">)"
      R"(%s fill="%s" stroke="#3c3c3c" stroke-width="1.25"/></svg>)",
      shape, fill);
  return wxBitmapBundle::FromSVG(svg.utf8_str(), wxSize(kMarkerSize, kMarkerSize));
}

}  // namespace

std::optional<StatusColours> statusColours(std::string_view result) {
  if (result == StatusWord::fail) {
    return StatusColours{wxColour(255, 0, 0), wxColour(0, 0, 0)};
  }
  if (result == StatusWord::warn) {
    return StatusColours{wxColour(255, 255, 0), wxColour(0, 0, 0)};
  }
  return std::nullopt;
}

StatusMarkers::StatusMarkers()
    : fail_(drawnMarker(StatusWord::fail)),
      warn_(drawnMarker(StatusWord::warn)),
      none_(drawnMarker({})) {}

const wxBitmapBundle& StatusMarkers::marker(std::string_view result) const {
  return result == StatusWord::fail ? fail_ : result == StatusWord::warn ? warn_ : none_;
}

}  // namespace tarq
