#include "ui/StatusColours.h"

#include "validation/ResultRecords.h"

namespace tarq {

std::optional<StatusColours> statusColours(std::string_view result) {
  if (result == StatusWord::fail) {
    return StatusColours{wxColour(255, 0, 0), wxColour(0, 0, 0)};
  }
  if (result == StatusWord::warn) {
    return StatusColours{wxColour(255, 255, 0), wxColour(0, 0, 0)};
  }
  return std::nullopt;
}

}  // namespace tarq
