#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>

#include "support/Tables.h"
#include "system/text/PropertyList.h"
#include "system/text/TextParsing.h"
#include "validation/NumberText.h"

namespace tarq {
namespace {

TEST(NumberTextTest, ShortestDecimalReadsBackAsTheSameDouble) {
  testing::expectEach<double, std::string>(
      shortestDecimal,
      {{0.1 + 0.2, "0.30000000000000004"},
       {0.0, "0.0"},
       {-0.0, "-0.0"},
       {-2.5, "-2.5"},
       // Positional digits at every magnitude: the shortest digits, then zeros up to the point.
       {0.00001, "0.00001"},
       {9007199254740992.0, "9007199254740992.0"},
       {1.5e21, "1500000000000000000000.0"},
       {1e300, "1" + std::string(300, '0') + ".0"},
       {1.7976931348623157e308, "17976931348623157" + std::string(292, '0') + ".0"},
       {5e-324, "0." + std::string(323, '0') + "5"}});
}

// GTK sets the process locale from the environment; a German one writes "16,0" with printf.
TEST(NumberTextTest, NumbersAreStillWrittenAndReadWithAFullStopInAGermanLocale) {
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the de_DE.UTF-8 locale is not installed; scripts/bootstrap installs it";
  std::locale::global(std::locale("de_DE.UTF-8"));
  char printed[16];
  std::snprintf(printed, sizeof printed, "%.1f", 16.0);
  EXPECT_STREQ(printed, "16,0") << "the locale is active";

  EXPECT_EQ(oneDecimalWithBlank(16.25), "16.2 ");  // 16.25 is exact: ties go to even, as printf
  EXPECT_EQ(shortestDecimal(1e-5), "0.00001");
  EXPECT_EQ(integerText(uint64_t{18446744073709551615u}), "18446744073709551615");
  EXPECT_EQ(SystemValuesUtility::parseScaledDecimal("2596.150", 1'000'000), 2596150000u);
  const SystemValuesUtility::PropertyListParse real =
      SystemValuesUtility::PropertyList::parse("<plist><real>2.5</real></plist>");
  EXPECT_EQ(real.document ? real.document->root().real() : 0.0, 2.5);

  std::locale::global(std::locale::classic());
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tarq
