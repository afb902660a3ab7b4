#include "system/text/RegularExpression.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace tarq::SystemValuesUtility {
namespace {

struct MatchContextDeleter {
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

}  // namespace

void RegularExpression::CodeDeleter::operator()(pcre2_real_code_8* code) const {
  pcre2_code_free(code);
}

std::optional<RegularExpression> RegularExpression::compile(std::string_view pattern,
                                                            Case letterCase) {
  // Characters, not bytes, and Unicode classes, as the platform's own regular expressions have
  // them. Invalid UTF-8 in a subject is skipped over, not refused, so no subject needs checking
  // first.
  uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
  if (letterCase == Case::insensitive) {
    options |= PCRE2_CASELESS;
  }
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                   options, &errorCode, &errorOffset, nullptr);
  if (code == nullptr) {
    return std::nullopt;
  }
  return RegularExpression(code);
}

std::optional<std::string_view> RegularExpression::firstMatchGroup(std::string_view subject,
                                                                   uint32_t group) const {
  const std::unique_ptr<pcre2_match_context, MatchContextDeleter> context(
      pcre2_match_context_create(nullptr));
  const std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
      pcre2_match_data_create_from_pattern(code_.get(), nullptr));
  if (!context || !data) {
    return std::nullopt;
  }
  pcre2_set_match_limit(context.get(), kMatchLimit);
  pcre2_set_depth_limit(context.get(), kDepthLimit);
  pcre2_set_heap_limit(context.get(), kHeapLimitKibibytes);
  // An empty view may carry no pointer; PCRE2 wants one even for no bytes.
  const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.empty() ? "" : subject.data());
  const int found =
      pcre2_match(code_.get(), bytes, subject.size(), 0, 0, data.get(), context.get());
  // A count of 0 would mean the vector were too small for the groups; it is sized by the
  // pattern, so only a positive count is a match. Negative counts are no match or a limit.
  if (found <= 0 || group >= static_cast<uint32_t>(found)) {
    return std::nullopt;
  }
  const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data.get());
  const PCRE2_SIZE start = offsets[2 * group];
  const PCRE2_SIZE end = offsets[2 * group + 1];
  if (start == PCRE2_UNSET || end < start) {
    return std::nullopt;
  }
  return subject.substr(start, end - start);
}

}  // namespace tarq::SystemValuesUtility
