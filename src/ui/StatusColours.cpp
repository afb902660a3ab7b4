#include "ui/StatusColours.h"

#include <wx/image.h>

#include <cmath>

#include "validation/ResultRecords.h"

namespace tarq {
namespace {

constexpr int kMarkerSize = 12;

wxBitmapBundle drawnMarker(std::string_view status) {
  const std::optional<StatusColours> colours = statusColours(status);
  const wxColour rim(60, 60, 60);
  const double centre = (kMarkerSize - 1) / 2.0;
  const double radius = kMarkerSize / 2.0 - 0.5;
  wxImage image(kMarkerSize, kMarkerSize);
  image.InitAlpha();
  for (int y = 0; y < kMarkerSize; ++y) {
    for (int x = 0; x < kMarkerSize; ++x) {
      const double distance = std::hypot(x - centre, y - centre);
      if (!colours || distance > radius) {
        image.SetAlpha(x, y, 0);
        continue;
      }
      const wxColour& colour = distance > radius - 1.5 ? rim : colours->background;
      image.SetRGB(x, y, colour.Red(), colour.Green(), colour.Blue());
      image.SetAlpha(x, y, 255);
    }
  }
  return wxBitmapBundle(wxBitmap(image));
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
