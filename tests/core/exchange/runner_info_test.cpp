#include "exchange/runner_info.h"

#include <gtest/gtest.h>

#include <string>

#include "exchange/amount.h"
#include "exchange/market_strength.h"
#include "runner_pages.h"

namespace trotix {
namespace {

using testing::RunnerPageHtml;

const std::string kPound = "\xC2\xA3";

struct RunnerCase {
  const char* name;
  std::string page;
  std::string record;
};

class RunnerInfoTest : public ::testing::TestWithParam<RunnerCase> {};

TEST_P(RunnerInfoTest, ReadsTheRecord) {
  EXPECT_EQ(RunnerInfo(GetParam().page), GetParam().record);
}

std::string MixedCasePage() {
  return "<div>Matched ON THIS EVENT <SPAN CLASS=\"GLOBALBOLDEDTEXT\">" + kPound +
         "7,500</SPAN></div><div>Total Volume: <span class=\"GlobalBoldedText\">" + kPound +
         "250</span></div><div>Last Price Matched <i class='globalBoldedText'>6.2</i></div>"
         "<div>STARTING PRICE <em class=globalboldedtext>5.5</em></div>";
}

// Without a "volume:" label B reads as blank; the later values stay with their own labels.
std::string NoVolumeLabelPage() {
  return "<p>Matched on this event: <span class=\"globalBoldedText\">" + kPound +
         "12,345</span></p><p>Last price matched: <span class=\"globalBoldedText\">4.5</span></p>"
         "<p>Starting price: <span class=\"globalBoldedText\">3.75</span></p>";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RunnerInfoTest,
    ::testing::Values(
        RunnerCase{"Empty", "", "0>>0>>0>>5000,00>>"},
        RunnerCase{"Plain", RunnerPageHtml(kPound + "12,345", kPound + "1,234", "4.5", "3.75"),
                   "12345>>1234>>4,5>>3,75>>"},
        RunnerCase{"ThousandsSeparators",
                   RunnerPageHtml(kPound + "1,234,567", kPound + "98,765", "10", "12"),
                   "1234567>>98765>>10>>12,00>>"},
        RunnerCase{"MixedCaseLabels", MixedCasePage(), "7500>>250>>6,2>>5,50>>"},
        RunnerCase{"NoPrice", RunnerPageHtml(kPound + "500", kPound + "0", "", ""),
                   "500>>0>>0>>5000,00>>"},
        RunnerCase{"BlankValues", RunnerPageHtml("  ", " \t", "  ", "  "), "0>>0>>0>>5000,00>>"},
        RunnerCase{"ThousandPriceWithSeparator",
                   RunnerPageHtml(kPound + "900", kPound + "3", "1,000.00", "1,000.00"),
                   "900>>3>>1000>>5000,00>>"},
        RunnerCase{"ThousandPricePadded",
                   RunnerPageHtml(kPound + "900", kPound + "3", " 1,000.00 ", "4"),
                   "900>>3>>1000>>4,00>>"},
        RunnerCase{"OtherSeparatedPriceStays",
                   RunnerPageHtml(kPound + "900", kPound + "3", "1,010.00", "2.5"),
                   "900>>3>>1,010,00>>2,50>>"},
        RunnerCase{"SpacesInsideAmounts",
                   RunnerPageHtml(" " + kPound + " 12,345 ", kPound + "1 234", " 3.5 ", " 3.5 "),
                   "12345>>1 234>>3,5>>3,50>>"},
        RunnerCase{"Latin1PoundIsNoAmount",
                   RunnerPageHtml("\xA3"
                                  "2,000",
                                  "$40", "2", "2"),
                   "\xA3"
                   "2,000>>$40>>2>>2,00>>"},
        RunnerCase{"SeparatorsInOddPlacesStay",
                   RunnerPageHtml(kPound + "5,0,0,0", kPound + ",1,,0,0,", "2", "2"),
                   "5,0,0,0>>,1,,0,0,>>2>>2,00>>"},
        RunnerCase{"PointsAndSpacesStay",
                   RunnerPageHtml(kPound + "100,000.50", "100 000", "2", "2"),
                   "100,000.50>>100 000>>2>>2,00>>"},
        RunnerCase{"NoVolumeLabel", NoVolumeLabelPage(), "12345>>0>>4,5>>3,75>>"},
        RunnerCase{"LabelWithoutItsValue",
                   "<p>Matched on this event: N/A</p><p>Volume: <b class=globalboldedtext>" +
                       kPound + "250</b></p>",
                   "0>>250>>0>>5000,00>>"},
        RunnerCase{"BoldValuesWithoutLabels",
                   "<b class=globalboldedtext>10</b><b class=globalboldedtext>2</b>"
                   "<b class=globalboldedtext>8.4</b><b class=globalboldedtext>9</b>",
                   "0>>0>>0>>5000,00>>"},
        RunnerCase{"NoClosingBracket", "on this event globalboldedtext>123", "0>>0>>0>>5000,00>>"},
        RunnerCase{"StartPriceNotANumber", RunnerPageHtml("1", "1", "2", "SP"),
                   "1>>1>>2>>5000,00>>"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AmountCase {
  const char* text;
  double value;
};

TEST(StrToAmount, Table) {
  const AmountCase cases[] = {
      {"", -1},
      {"123", 123},
      {"0", 0},
      {"007", 7},
      {"12,5", 12.5},
      {",5", 0.5},
      {"1,2,3", -1},
      {",", -1},
      {",,", -1},
      {"-5", -1},
      {"+5", -1},
      {"1.5", -1},
      {" 5", -1},
      {"5 ", -1},
      {"5a", -1},
      {"\xC2\xA3"
       "5",
       -1},
      {"1,45", 1.45},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(StrToAmount(c.text), c.value) << '"' << c.text << '"';
}

struct StrengthCase {
  std::array<double, 3> odds;
  std::array<double, 3> st;
  const char* indicator;
};

TEST(MarketStrength, Table) {
  const StrengthCase cases[] = {
      {{4, 5, 7}, {61, 49, 35}, "1,45"},
      {{3, 4, 6}, {133, 100, 67}, "3,00"},
      {{2.5, 4, 21}, {132, 83, 16}, "2,31"},
      {{3, 5.5, 5.5}, {110, 60, 60}, "2,30"},
      {{5, 7, 8}, {38, 27, 23}, "0,88"},
      {{2, 2.5, 3}, {-214, -171, -143}, "-5,28"},
      {{1.5, 3.5, 34}, {3662, 1569, 162}, "53,90"},  // three significant digits
      {{5000, 5000, 5000}, {0, 0, 0}, "0,00"},
      {{4, 5, 5000}, {45, 36, 0}, "0,81"},
      {{2, 4, 4}, {0, 0, 0}, "0,00"},  // a book of exactly 100
  };
  for (const auto& c : cases) {
    const MarketStrength m = ComputeMarketStrength(c.odds);
    EXPECT_EQ(m.st, c.st) << c.odds[0] << ' ' << c.odds[1] << ' ' << c.odds[2];
    EXPECT_EQ(m.indicator, c.indicator) << c.odds[0] << ' ' << c.odds[1] << ' ' << c.odds[2];
  }
}

}  // namespace
}  // namespace trotix
