#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

// PCRE2's compiled pattern for 8-bit code units, kept out of this header.
struct pcre2_real_code_8;

namespace tarq::SystemValuesUtility {

// A compiled PCRE2 pattern, matched as the platform's regular expressions match: on Unicode
// characters, with \s, \d and \w and caseless matching Unicode-aware (U+2003 is a space, U+0666
// a digit). A subject that is not valid UTF-8 is still searched: an ill-formed sequence matches
// nothing, and the valid text around it matches as usual.
class RegularExpression {
 public:
  enum class Case { sensitive, insensitive };

  // A match attempt gives up after this many steps, this deep a nesting of backtracking points,
  // or this much backtracking memory, so that no tool output, however large or odd, keeps it
  // busy or makes it grow. A real banner needs a few dozen steps, and a version of thousands of
  // parts still matches whole.
  static constexpr uint32_t kMatchLimit = 1'000'000;
  static constexpr uint32_t kDepthLimit = 10'000;
  static constexpr uint32_t kHeapLimitKibibytes = 8 * 1024;

  // Empty when `pattern` does not compile.
  static std::optional<RegularExpression> compile(std::string_view pattern, Case letterCase);

  // The text of capture group `group` in the first match in `subject`. Empty when there is no
  // match, the group took no part in it, or the search hit one of the limits above.
  std::optional<std::string_view> firstMatchGroup(std::string_view subject, uint32_t group) const;

 private:
  struct CodeDeleter {
    void operator()(pcre2_real_code_8* code) const;
  };
  explicit RegularExpression(pcre2_real_code_8* code) : code_(code) {}

  std::unique_ptr<pcre2_real_code_8, CodeDeleter> code_;
};

}  // namespace tarq::SystemValuesUtility
