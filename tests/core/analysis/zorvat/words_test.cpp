#include "analysis/zorvat/words.h"

#include <gtest/gtest.h>

#include "text/name_number.h"

namespace trotix {
namespace {

using Words = std::vector<std::string>;

TEST(SplitWords, OnlyWordsFollowedByASpaceCount) {
  const struct {
    std::string text;
    Words words;
  } cases[] = {
      {"Maiden Stakes (Class 5)", {"Maiden", "Stakes", "(Class"}},
      {"Sprint", {}},
      {"", {}},
      {"Sea 0", {"Sea"}},  // the sentinel's "0" is never examined
      {"Sea  Breeze 0", {"Sea", "", "Breeze"}},
      {" Sea 0", {"", "Sea"}},
      {"ab ", {}},  // the last character, here the space, is never examined
      {"a b", {"a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitWords(c.text), c.words) << c.text;
}

TEST(JoinWords, EveryWordFollowedByOneSpace) {
  EXPECT_EQ(JoinWords({"Maiden", "Stakes", "(Class"}), "Maiden Stakes (Class ");
  EXPECT_EQ(JoinWords({"a", "", "b"}), "a  b ");
  EXPECT_EQ(JoinWords({}), "");
}

TEST(CapitalizeWords, LowerCaseWithCapitalInitialsTrimmed) {
  const struct {
    Words words;
    std::string text;
  } cases[] = {
      {{"SEA", "bREEZE"}, "Sea Breeze"},
      {{"", "sea", "", "breeze", ""}, "Sea  Breeze"},  // inner doubled space stays
      {{"o'brien", "2nd"}, "O'brien 2nd"},
      {{}, ""},
      {{""}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CapitalizeWords(c.words), c.text) << c.text;
}

TEST(WordsNumber, DigitalRootOfTheWordNumbers) {
  const Words twentyNine = {"Sea", "Gold", "Fire", "King"};
  int sum = 0;
  for (const auto& w : twentyNine) sum += NameNumber(w);
  ASSERT_EQ(sum, 29);
  EXPECT_EQ(WordsNumber(twentyNine), 2);  // 29 -> 11 -> 2
  EXPECT_EQ(WordsNumber({"Sea"}), 9);
  EXPECT_EQ(WordsNumber({"Maiden", "Stakes", "(Class"}), 9);  // 2 + 6 + 1
  EXPECT_EQ(WordsNumber({"", "Sea", ""}), 9);                 // empty words add nothing
  EXPECT_EQ(WordsNumber({}), 0);
}

TEST(LetterValue, FixedValuePerLetterWhateverTheCase) {
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const int values[] = {1, 2, 3, 4, 5, 8, 3, 8, 1, 3, 2, 3, 4,
                        5, 8, 8, 3, 2, 6, 4, 6, 6, 6, 7, 1, 7};
  for (std::size_t i = 0; i < letters.size(); ++i) {
    EXPECT_EQ(LetterValue(letters[i]), values[i]) << letters[i];
    EXPECT_EQ(LetterValue(static_cast<char>(letters[i] - 'A' + 'a')), values[i]) << letters[i];
  }
  for (char c : {'1', '0', ' ', '(', '\'', '\xC9'}) EXPECT_EQ(LetterValue(c), 0) << c;
}

TEST(LetterValue, IgnoresWhereTheLetterStands) {
  // Unlike NameNumber, S, C, O and R are worth the same at the start of a name.
  EXPECT_EQ(LetterValue('S'), 6);
  EXPECT_EQ(NameNumber("Sa") - NameNumber("a"), 3);
  EXPECT_EQ(LetterValue('O'), 8);
  EXPECT_EQ(NameNumber("O"), 7);
}

TEST(FoldNumber, FourIsOneAndSevenIsTwo) {
  const int folded[] = {0, 1, 2, 3, 1, 5, 6, 2, 8, 9};
  for (int n = 0; n <= 9; ++n) EXPECT_EQ(FoldNumber(n), folded[n]) << n;
  EXPECT_EQ(FoldNumber(14), 14);
}

}  // namespace
}  // namespace trotix
