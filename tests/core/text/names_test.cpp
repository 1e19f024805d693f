#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "model/country.h"
#include "text/encoding.h"
#include "text/name_number.h"

namespace trotix {
namespace {

TEST(CourseCountry, ExactCaseSensitiveNames) {
  const std::pair<const char*, int> cases[] = {
      {"England", 1},   {"Ireland", 2},      {"France", 3}, {"UAE", 4},
      {"India", 5},     {"South Africa", 6}, {"USA", 0},    {"Australia", 7},
      {"Hong Kong", 8}, {"england", 0},      {"", 0},       {"Germany", 0},
      {"England ", 0},
  };
  for (const auto& [text, index] : cases) EXPECT_EQ(CourseCountry(text), index) << text;
}

TEST(NameNumber, ReducesNamesToOneDigit) {
  const std::pair<const char*, int> cases[] = {
      {"abc", 6},   // 1 + 2 + 3
      {"Sea", 9},   // S before a vowel at the start: 3 + 5 + 1
      {"Ross", 4},  // R first 2, O elsewhere 8, S elsewhere 6 + 6 = 22 -> 4
      {"Oro", 1},   // O first 7 + R 4 + O 8 = 19 -> 10 -> 1
      {"Ca", 3},    // C before a vowel 2 + A 1
      {"Cd", 7},    // C before a consonant 3 + D 4
      {"aC", 4},    // C elsewhere 3
      {"Sd", 1},    // S before a consonant 6 + D 4 = 10 -> 1
      {"aS", 7},    // S elsewhere 6
      {"C", 0},     // C alone adds nothing
      {"S", 0},     // S alone adds nothing
      {"Ab1", 4},   // digits add their value
      {"A0", 1},    // "0" adds nothing
      {"", 0},     {"'- .", 0}, {"zzzz", 1},  // 28 -> 10 -> 1
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(NameNumber(text), number) << text;
}

TEST(NameNumber, NonLatinBytesAddNothing) {
  EXPECT_EQ(NameNumber("\xD0\x90"), 0);
  EXPECT_EQ(NameNumber("a\xC3\xA9"), 1);
}

TEST(DisplayUtf8, Windows1251WhenNotUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"Z\xC3\xBCrich", "Z\xC3\xBCrich"},  // valid UTF-8 stays as it is
      {"Sea Bird", "Sea Bird"},
      {"\xCF\xF0\xE8\xE7", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB7"},  // Приз
      {"Caf\xE9", "Caf\xD0\xB9"},
      {"\xA8\xB8\xB9", "\xD0\x81\xD1\x91\xE2\x84\x96"},  // Ё ё №
      {"\x80\x98\xFF", "\xD0\x82\xC2\x98\xD1\x8F"},
  };
  for (const auto& [bytes, shown] : cases) EXPECT_EQ(DisplayUtf8(bytes), shown) << bytes;
}

TEST(DigitalRoot, RepeatsDigitSums) {
  EXPECT_EQ(DigitalRoot(0), 0);
  EXPECT_EQ(DigitalRoot(9), 9);
  EXPECT_EQ(DigitalRoot(29), 2);
  EXPECT_EQ(DigitalRoot(12), 3);
  EXPECT_EQ(DigitalRoot(99999), 9);
}

}  // namespace
}  // namespace trotix
