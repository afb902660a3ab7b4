#include "ui/RowGuidance.h"

#include <algorithm>

#include "system/text/TextParsing.h"
#include "validation/CheckGuidance.h"

namespace tarq {

std::optional<std::size_t> checkOfRow(const ResultRow& row) {
  const auto found = std::find_if(
      kChecksInRunOrder.begin(), kChecksInRunOrder.end(),
      [&row](const CheckDescription& check) { return check.testName == row.testName; });
  if (found == kChecksInRunOrder.end()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(found - kChecksInRunOrder.begin());
}

RowGuidance guidanceFor(const ResultRow& row, std::string_view remedy) {
  const std::optional<std::size_t> check = checkOfRow(row);
  if (!check) {
    return {};
  }
  // Only a row that did not pass has something to do, whatever text came with it.
  const bool shortfall = row.result == StatusWord::fail || row.result == StatusWord::warn;
  return {std::string(kChecksInRunOrder[*check].requirement),
          shortfall ? std::string(SystemValuesUtility::withoutTrailingWhiteSpace(remedy))
                    : std::string()};
}

std::string guidanceSentence(const RowGuidance& guidance) {
  if (guidance.requirement.empty()) {
    return {};
  }
  std::string sentence = "Requires: " + guidance.requirement + ".";
  if (!guidance.remedy.empty()) {
    sentence += " To do: " + guidance.remedy;
  }
  return sentence;
}

std::string guidanceTip(const RowGuidance& guidance) {
  if (guidance.requirement.empty() || guidance.remedy.empty()) {
    return {};
  }
  return "Requires: " + guidance.requirement + "\nTo do: " + guidance.remedy;
}

}  // namespace tarq
