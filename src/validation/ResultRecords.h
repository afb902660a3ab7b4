#pragma once

#include <string>
#include <string_view>

namespace tarq {

// The status words, compared case-sensitively wherever a row is judged.
namespace StatusWord {
inline constexpr std::string_view pass = "Pass";
inline constexpr std::string_view warn = "Warn";
inline constexpr std::string_view fail = "Fail";
}  // namespace StatusWord

// The keys of a result row; the summary table uses them as its column identifiers.
namespace ResultKey {
inline constexpr std::string_view testName = "testName";
inline constexpr std::string_view result = "result";
inline constexpr std::string_view detected = "detected";
}  // namespace ResultKey

// One check's row of the summary: its name, its status word and what it detected. Fields are
// stored exactly as the check passed them.
struct ResultRow {
  std::string testName;
  std::string result;
  std::string detected;

  // The value under one of the three keys; null for any other key.
  const std::string* valueForKey(std::string_view key) const {
    if (key == ResultKey::testName) {
      return &testName;
    }
    if (key == ResultKey::result) {
      return &result;
    }
    if (key == ResultKey::detected) {
      return &detected;
    }
    return nullptr;
  }

  friend bool operator==(const ResultRow&, const ResultRow&) = default;
};

}  // namespace tarq
