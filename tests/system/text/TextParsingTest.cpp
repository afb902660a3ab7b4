#include <gtest/gtest.h>

#include "support/Tables.h"
#include "system/text/RegularExpression.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {
namespace {

using testing::expectEach;
using Number = std::optional<uint64_t>;

TEST(TextParsingTest, NumbersAreExactAndRejectAnythingButTheirDigits) {
  expectEach<std::pair<std::string_view, uint64_t>, Number>(
      [](const auto& c) { return parseScaledDecimal(c.first, c.second); },
      {{{"2.60", 1'000'000'000}, 2'600'000'000},
       {{"2596.150", 1'000'000}, 2'596'150'000},
       {{"3", 1'000'000'000}, 3'000'000'000},
       {{".5", 1000}, 500},
       {{"7.", 1000}, 7000},
       {{"1.23456789", 1000}, 1234},  // digits finer than the scale are dropped
       {{"", 1000}, {}},
       {{".", 1000}, {}},
       {{"-1.0", 1000}, {}},
       {{"2,60", 1000}, {}},
       {{"1.2.3", 1000}, {}},
       {{"18446744073709551615", 10}, {}}});
  expectEach<std::string_view, Number>(
      parseUnsignedDecimal,
      {{"18446744073709551615", UINT64_MAX}, {"18446744073709551616", {}}, {" 1", {}}, {"+1", {}}});
  expectEach<std::string_view, Number>(
      parseUnsignedHex, {{"8000000", 0x8000000}, {"0xd08", 0xd08}, {"0x", {}}, {"12g", {}}});
  expectEach<std::string_view, Number>(parseLeadingDecimal, {{"18-amd64", 18}, {"rc1", {}}});
}

TEST(TextParsingTest, LinesEndAtEveryKindOfLineEnd) {
  expectEach<std::string_view, std::vector<std::string_view>>(
      splitLinesAtAnyLineEnd, {{"", {}},
                               {"a", {"a"}},
                               {"a\n", {"a"}},
                               {"a\r\nb\r\n", {"a", "b"}},
                               {"a\n\rb", {"a", "", "b"}},
                               {"a\rb\u2029c\u0085", {"a", "b", "c"}},
                               {"\u2028", {""}},
                               {"\u00e9\u202a\v\f", {"\u00e9\u202a\v\f"}}});
}

TEST(TextParsingTest, Utf8ValidationFollowsTheStandard) {
  expectEach<std::string_view, bool>(isValidUtf8, {{"", true},
                                                   {"Intel(R) Core(TM)", true},
                                                   {"\u00e9\u20ac\U0001F600", true},
                                                   {"\x80", false},      // stray continuation byte
                                                   {"\xC0\x80", false},  // overlong NUL
                                                   {"\xE0\x80\xAF", false},      // overlong slash
                                                   {"\xED\xB0\x80", false},      // surrogate
                                                   {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
                                                   {"\xE2\x82", false}});        // cut short
}

TEST(TextParsingTest, RegularExpressionsSearchPastBytesThatAreNotUtf8) {
  const auto pattern =
      RegularExpression::compile(R"(v\s+(\d+))", RegularExpression::Case::insensitive);
  ASSERT_TRUE(pattern);
  expectEach<std::string_view, std::optional<std::string_view>>(
      [&](std::string_view subject) { return pattern->firstMatchGroup(subject, 1); },
      {{"V\u2003\u0661\u0662", "\u0661\u0662"},
       {"\x80v 7\xFF", "7"},
       {"\xE2\x82v 7", "7"},                  // cut short just before
       {"\xF4\x90\x80\x80v 7", "7"},          // beyond U+10FFFF
       {"\xED\xB0\x80v 7\xED\xB0\x80", "7"},  // surrogates on both sides
       {"v\xA0 7", {}},                       // a lone byte of U+00A0 is no space
       {"v\xC0\xA0 7", {}},                   // nor is its overlong form
       {"v \xC3", {}},
       {"\xFF\xFF\xFF", {}}});
  EXPECT_FALSE(RegularExpression::compile("v\xFF", RegularExpression::Case::sensitive));
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
