#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "text/dates.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, long long> cases[] = {{2.5, 2},   {3.5, 4},  {-2.5, -2}, {-3.5, -4},
                                                {52.5, 52}, {0.5, 0},  {1.5, 2},   {2.4999, 2},
                                                {2.51, 3},  {-0.4, 0}, {7, 7}};
  for (const auto& [v, r] : cases) EXPECT_EQ(RoundHalfEven(v), r) << v;
}

// Found by fuzzing: a rating of seventy digits used to overflow the integer conversion.
TEST(RoundHalfEven, ValuesBeyondEveryIntegerSaturate) {
  const double huge = *ParseDecimal(std::string(70, '5'));
  EXPECT_EQ(RoundHalfEven(huge), std::numeric_limits<long long>::max());
  EXPECT_EQ(RoundHalfEven(-huge), std::numeric_limits<long long>::min());
  EXPECT_EQ(RoundHalfEven(9.3e18), std::numeric_limits<long long>::max());
  EXPECT_EQ(RoundHalfEven(9.2e18), 9200000000000000000LL);
  EXPECT_EQ(RoundToInt(huge), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundToInt(-huge), std::numeric_limits<int>::min());
}

TEST(FormatGeneral, CommaAndNoTrailingZeros) {
  EXPECT_EQ(FormatGeneral(4), "4");
  EXPECT_EQ(FormatGeneral(4.5), "4,5");
  EXPECT_EQ(FormatGeneral(1.01), "1,01");
  EXPECT_EQ(FormatGeneral(-10), "-10");
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(-0.0), "0");
  EXPECT_EQ(FormatGeneral(5000), "5000");
  EXPECT_EQ(FormatGeneral(1.0 / 3), "0,333333333333333");
}

TEST(FormatFixed, TwoDecimalsOrNone) {
  EXPECT_EQ(FormatFixed(3.5, 2), "3,50");
  EXPECT_EQ(FormatFixed(5000, 2), "5000,00");
  EXPECT_EQ(FormatFixed(20.4, 0), "20");
  EXPECT_EQ(FormatFixed(-15.2, 0), "-15");
  EXPECT_EQ(FormatFixed(-0.2, 0), "0");
  EXPECT_EQ(FormatFixed(RoundSignificant(1.4500001, 3), 2), "1,45");
  EXPECT_EQ(FormatFixed(RoundSignificant(19.004, 3), 2), "19,00");
  EXPECT_EQ(FormatFixed(RoundSignificant(0.96666, 3), 2), "0,97");
}

// Any finite value is written whole, digit for digit, with nothing read past the digits; what
// is no number is no text.
TEST(FormatFixed, EveryFiniteValueWholeAndNothingElse) {
  struct Case {
    double value;
    int decimals;
    char point;
    std::string text;
  };
  const Case cases[] = {
      {3.5, 2, '.', "3.50"},
      {-0.001, 2, '.', "0.00"},
      {1e20, 1, ',', "100000000000000000000,0"},
      {2.5, 40, '.', "2.500000000000000"},  // at most 15 decimals
      {7, -3, ',', "7"},
      {std::numeric_limits<double>::infinity(), 2, ',', ""},
      {-std::numeric_limits<double>::infinity(), 2, ',', ""},
      {std::numeric_limits<double>::quiet_NaN(), 2, ',', ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFixedWith(c.value, c.decimals, c.point), c.text) << c.value;
  for (const double big : {1e70, -1e70, std::numeric_limits<double>::max()}) {
    const std::string text = FormatFixed(big, 2);
    const std::size_t digits = static_cast<std::size_t>(std::log10(std::fabs(big))) + 1;
    EXPECT_EQ(text.size(), (big < 0 ? 1 : 0) + digits + 3) << big;
    EXPECT_TRUE(text.ends_with(",00")) << text;
    EXPECT_EQ(text.find_first_not_of("-0123456789,"), std::string::npos) << text;
  }
}

TEST(ParseDecimal, CommaSeparatorOnly) {
  EXPECT_EQ(ParseDecimal("4,5"), 4.5);
  EXPECT_EQ(ParseDecimal(" -1,5 "), -1.5);
  EXPECT_EQ(ParseDecimal("12"), 12);
  EXPECT_EQ(ParseDecimal(",5"), 0.5);
  EXPECT_FALSE(ParseDecimal("4.5"));
  EXPECT_FALSE(ParseDecimal("1,000,00"));
  EXPECT_FALSE(ParseDecimal(","));
  EXPECT_FALSE(ParseDecimal(""));
  EXPECT_FALSE(ParseDecimal("-"));
  EXPECT_FALSE(ParseDecimal("5a"));
}

TEST(ParseInteger, SignedWholeNumbers) {
  EXPECT_EQ(ParseInteger("80"), 80);
  EXPECT_EQ(ParseInteger("-5"), -5);
  EXPECT_EQ(ParseInteger("+12"), 12);
  EXPECT_FALSE(ParseInteger("8.5"));
  EXPECT_FALSE(ParseInteger("-"));
  EXPECT_FALSE(ParseInteger(""));
  EXPECT_FALSE(ParseInteger("99999999999999999999999"));
  EXPECT_EQ(IntegerOrZero("abc"), 0);
  EXPECT_EQ(IntegerOrZero("3000000000"), 0);  // out of range counts as no number
}

TEST(Dates, DayMonthYearWithDots) {
  EXPECT_EQ(FormatDate({2026, 12, 1}), "01.12.2026");
  EXPECT_EQ(FormatDayMonth({2026, 3, 7}), "07.03");
  EXPECT_EQ(ParseDate("29.02.2028"), (Date{2028, 2, 29}));
  EXPECT_FALSE(ParseDate("29.02.2027"));
  EXPECT_FALSE(ParseDate("1.12.2026"));
  EXPECT_FALSE(ParseDate("01/12/2026"));
  EXPECT_FALSE(ParseDate("32.01.2026"));
}

TEST(Strings, TrimAndLines) {
  EXPECT_EQ(Trim(" \t\r\nab c\n "), "ab c");
  EXPECT_EQ(Upper("Ab-z\xC3\xA9"), "AB-Z\xC3\xA9");
  const std::vector<std::string> lines{"a", "", "b", "c"};
  EXPECT_EQ(SplitLines("a\r\n\nb\rc\r\n"), lines);
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
  EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
}  // namespace trotix
