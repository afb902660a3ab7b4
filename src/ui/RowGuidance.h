#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "validation/ResultRecords.h"

namespace tarq {

// The place in the run order of the check a summary row is about, found by its name; none for a
// row no check makes.
std::optional<std::size_t> checkOfRow(const ResultRow& row);

// What the window says about a row beside its cells: the requirement of its check and, for a row
// that failed or warned, its remedy. Empty for a row no check makes.
struct RowGuidance {
  std::string requirement;
  std::string remedy;
};
RowGuidance guidanceFor(const ResultRow& row, std::string_view remedy);

// One sentence for the control strip: "Requires: macOS 10.11.6 or later. To do: Update macOS to
// version 10.11.6 or later.", the second part only where there is a remedy.
std::string guidanceSentence(const RowGuidance& guidance);
// Two lines for a tooltip, "Requires: …" and "To do: …"; nothing for a row without a remedy,
// which passed.
std::string guidanceTip(const RowGuidance& guidance);

}  // namespace tarq
