#include <gtest/gtest.h>

#include "system/text/RegularExpression.h"
#include "system/text/TextParsing.h"

namespace tarq {
namespace {

TEST(TextParsingTest, ScaledDecimalIsExact) {
  const struct {
    std::string_view text;
    uint64_t scale;
    std::optional<uint64_t> value;
  } cases[] = {
      {"2.60", 1'000'000'000, 2'600'000'000},
      {"2596.150", 1'000'000, 2'596'150'000},
      {"2194.842", 1'000'000, 2'194'842'000},
      {"3", 1'000'000'000, 3'000'000'000},
      {".5", 1000, 500},
      {"7.", 1000, 7000},
      {"1.23456789", 1000, 1234},  // digits finer than the scale are dropped
      {"", 1000, std::nullopt},
      {".", 1000, std::nullopt},
      {"-1.0", 1000, std::nullopt},
      {"2,60", 1000, std::nullopt},
      {"1.2.3", 1000, std::nullopt},
      {"18446744073709551615", 10, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseScaledDecimal(c.text, c.scale), c.value) << c.text;
  }
}

TEST(TextParsingTest, IntegersRejectAnythingButDigits) {
  EXPECT_EQ(parseUnsignedDecimal("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(parseUnsignedDecimal("18446744073709551616"), std::nullopt);
  EXPECT_EQ(parseUnsignedDecimal(" 1"), std::nullopt);
  EXPECT_EQ(parseUnsignedDecimal("+1"), std::nullopt);
  EXPECT_EQ(parseUnsignedHex("8000000"), 0x8000000u);
  EXPECT_EQ(parseUnsignedHex("0xd08"), 0xd08u);
  EXPECT_EQ(parseUnsignedHex("0x"), std::nullopt);
  EXPECT_EQ(parseUnsignedHex("12g"), std::nullopt);
  EXPECT_EQ(parseLeadingDecimal("18-amd64"), 18u);
  EXPECT_EQ(parseLeadingDecimal("rc1"), std::nullopt);
}

TEST(TextParsingTest, LinesEndAtEveryKindOfLineEnd) {
  const struct {
    std::string_view text;
    std::vector<std::string_view> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\rb\xE2\x80\xA9"
       "c\xC2\x85",
       {"a", "b", "c"}},                                           // U+2029, U+0085
      {"\xE2\x80\xA8", {""}},                                      // U+2028
      {"\xC3\xA9\xE2\x80\xAA\v\f", {"\xC3\xA9\xE2\x80\xAA\v\f"}},  // é, U+202A
  };
  for (const auto& c : cases) {
    EXPECT_EQ(splitLinesAtAnyLineEnd(c.text), c.lines) << c.text;
  }
}

TEST(TextParsingTest, Utf8ValidationFollowsTheStandard) {
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_TRUE(isValidUtf8("Intel(R) Core(TM)"));
  EXPECT_TRUE(isValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));  // é € 😀
  EXPECT_FALSE(isValidUtf8("\x80"));                                 // stray continuation byte
  EXPECT_FALSE(isValidUtf8("\xC0\x80"));                             // overlong NUL
  EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));                         // overlong slash
  EXPECT_FALSE(isValidUtf8("\xED\xB0\x80"));                         // surrogate
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));                     // beyond U+10FFFF
  EXPECT_FALSE(isValidUtf8("\xE2\x82"));                             // cut short
}

TEST(TextParsingTest, RegularExpressionsSearchPastBytesThatAreNotUtf8) {
  const auto pattern =
      RegularExpression::compile(R"(v\s+(\d+))", RegularExpression::Case::insensitive);
  ASSERT_TRUE(pattern);
  const struct {
    std::string_view subject;
    std::optional<std::string_view> digits;
  } cases[] = {
      {"V\u2003\u0661\u0662", "\u0661\u0662"},
      {"\x80v 7\xFF", "7"},
      {"\xE2\x82v 7", "7"},                  // cut short just before
      {"\xF4\x90\x80\x80v 7", "7"},          // beyond U+10FFFF
      {"\xED\xB0\x80v 7\xED\xB0\x80", "7"},  // surrogates on both sides
      {"v\xA0 7", std::nullopt},             // a lone byte of U+00A0 is no space
      {"v\xC0\xA0 7", std::nullopt},         // nor is its overlong form
      {"v \xC3", std::nullopt},
      {"\xFF\xFF\xFF", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pattern->firstMatchGroup(c.subject, 1), c.digits) << c.subject;
  }
  EXPECT_FALSE(RegularExpression::compile("v\xFF", RegularExpression::Case::sensitive));
}

}  // namespace
}  // namespace tarq
