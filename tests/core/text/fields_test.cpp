#include "text/fields.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

namespace trotix {
namespace {

struct FieldCase {
  std::string record;
  int n;
  std::string expected;
};

TEST(GetField, ReadsOnlyTerminatedFields) {
  const FieldCase cases[] = {
      {"a>>b>>c", 1, "a"}, {"a>>b>>c", 2, "b"}, {"a>>b>>c", 3, ""},    // unterminated last
      {"a>>b>>c", 4, ""},  {"a>>b", 2, ""},     {"a>>b", 0, "a"},      // N <= 0 reads as 1
      {"a>>b", -3, "a"},   {"a>>>>b>>", 2, ""}, {"a>>>>b>>", 3, "b"},  // empty middle field
      {"", 1, ""},         {"abc", 1, ""},      {"x>>y>>", 2, "y"},   {"47>>3>>5>>", 1, "47"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetField(c.record, c.n), c.expected) << c.record << " #" << c.n;
}

TEST(TagValue, FirstOpeningTagAndNextClosingTag) {
  EXPECT_EQ(TagValue("<time>12:30</time><time>13:00</time>", "time"), "12:30");
  EXPECT_EQ(TagValue("no tags here", "time"), "");
  EXPECT_EQ(TagValue("<time>12:30 and never closed", "time"), "");  // missing closing tag
  // The opening tag includes ">", so <name> does not match <name_horse>.
  EXPECT_EQ(TagValue("<name_horse>Sea Bird</name_horse><name>Race</name>", "name"), "Race");
  EXPECT_EQ(TagValue("<ord>1</ord><or>80</or>", "or"), "80");
  EXPECT_EQ(TagValue("<a></a>", "a"), "");
  // A closing tag before the opening one is not the end of the value.
  EXPECT_EQ(TagValue("</a><a>x</a>", "a"), "x");
}

TEST(TagViews, OneWalkFindsWhatTagValueFindsForEachName) {
  const std::array<std::string_view, 4> names = {"name", "name_horse", "or", "a"};
  const std::string texts[] = {
      "",
      "<name_horse>H</name_horse><name>R</name><or>1</or>",
      "<a>never closed<a>x</a>",  // only the first opening tag counts
      "</or><or>2</or><or>3</or><name></name>",
      "<<name>>x</name></name>",
      "<name>v</name_horse></name <or>5</or",
  };
  for (const auto& text : texts) {
    const auto views = TagViews(text, names);
    for (std::size_t k = 0; k < names.size(); ++k)
      EXPECT_EQ(views[k], TagValue(text, names[k])) << text << " " << names[k];
  }
}

TEST(TagRecords, OnlyClosedRecordsEachUpToItsOwnClosingTag) {
  struct Case {
    std::string text;
    std::vector<std::string> bodies;
    std::size_t skipped;
  };
  const Case cases[] = {
      {"", {}, 0},
      {"junk<r>a</r>x<r>b</r>tail", {"a", "b"}, 0},
      {"<r></r><r>c", {""}, 1},                 // the unclosed last record is dropped
      {"<r>a<r>b</r><r>c</r>", {"b", "c"}, 1},  // so is one the next record cuts short
      {"</r><r>a</r></r>", {"a"}, 0},           // stray closing tags are no records
      {"<r><q>1</q></r><r></r>", {"<q>1</q>", ""}, 0},
      {"<rr>x</rr><r>y</r>", {"y"}, 0},
      {"<r><r><r>", {}, 3},
      {std::string(100000, '<') + "<r>z</r>", {"z"}, 0},
  };
  for (const auto& c : cases) {
    TagRecords records(c.text, "r");
    std::vector<std::string> bodies;
    while (const auto body = records.Next()) bodies.emplace_back(*body);
    EXPECT_EQ(bodies, c.bodies) << c.text.substr(0, 40);
    EXPECT_EQ(records.skipped(), c.skipped) << c.text.substr(0, 40);
    EXPECT_FALSE(records.Next());
  }
}

TEST(ReplaceText, RepeatsUntilNothingIsLeft) {
  EXPECT_EQ(ReplaceText("a    b", "  ", " "), "a b");
  EXPECT_EQ(ReplaceText("O'Brien", "'", ""), "OBrien");
  EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceText("BJ5000", "BJ", "$"), "$5000");
  // A replacement that creates a new occurrence is replaced too: "aab" -> "ab" -> "b".
  EXPECT_EQ(ReplaceText("aab", "ab", "b"), "b");
  EXPECT_EQ(ReplaceText("xaabbx", "ab", ""), "xx");
  EXPECT_EQ(ReplaceText("1.2.3", ".", ","), "1,2,3");
}

TEST(ReplaceText, ReplacementHoldingTheSearchedTextEndsAndReplacesOnce) {
  EXPECT_EQ(ReplaceText("a.b.", ".", ".."), "a..b..");
  EXPECT_EQ(ReplaceText("ab", "a", "aa"), "aab");
}

TEST(CutPastTag, DropsUpToTheTagsThirdCharacter) {
  std::string text = "junk<zabeg>one<zabeg>two";
  ASSERT_TRUE(CutPastTag(text, "<zabeg>"));
  EXPECT_EQ(text, "beg>one<zabeg>two");
  ASSERT_TRUE(CutPastTag(text, "<zabeg>"));
  EXPECT_EQ(text, "beg>two");
  EXPECT_FALSE(CutPastTag(text, "<zabeg>"));
}

}  // namespace
}  // namespace trotix
