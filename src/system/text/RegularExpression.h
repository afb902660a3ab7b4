#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

// PCRE2's compiled pattern for 8-bit code units, kept out of this header.
struct pcre2_real_code_8;

namespace tarq {

// A compiled PCRE2 pattern that matches bytes. Its classes (\s, \d, \w) and caseless matching
// cover ASCII only, which is all the tool output patterns need; text that is valid UTF-8 still
// matches on character boundaries, since every pattern character is ASCII.
class RegularExpression {
 public:
  enum class Case { sensitive, insensitive };

  // Each match attempt gives up after this many steps or this much backtracking memory, so that
  // no tool output, however large or odd, can keep it busy or make it grow without bound.
  static constexpr uint32_t kMatchLimit = 10'000'000;
  static constexpr uint32_t kHeapLimitKibibytes = 64 * 1024;

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

}  // namespace tarq
