#include "feeds/race_facts.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

TEST(RaceFacts, ClassAndRunnersLessNonRunnersOfEachClosedRace) {
  const std::string day =
      "<zabeg><course>Ascot</course><time> 14:05 </time><class>Class 2</class>\r\n"
      "<horse><number>1</number><name_horse>A</name_horse></horse>\r\n"
      "<horse><number>NR</number><name_horse>B</name_horse></horse>\r\n"
      "<horse><number>3</number><name_horse>C</name_horse></horse>\r\n"
      "</zabeg>\r\n"
      // A runner left open is no runner; a race left open is no race.
      "<zabeg><course>Naas</course><time>15:10</time><class>Listed</class>\r\n"
      "<horse><number>1</number>\r\n"
      "<horse><number>2</number></horse>\r\n"
      "</zabeg>\r\n"
      "<zabeg><course>Kempton</course><time>16:00</time><class>Class 6</class>\r\n"
      "<horse><number>1</number></horse>\r\n";
  const std::vector<RaceFacts> races = RaceFactsOfDay(day);
  ASSERT_EQ(races.size(), 2u);
  EXPECT_EQ(races[0].course, "Ascot");
  EXPECT_EQ(races[0].time, "14:05");
  EXPECT_EQ(races[0].raceClass, "Class 2");
  EXPECT_EQ(races[0].runners, 2);
  EXPECT_EQ(races[1].course, "Naas");
  EXPECT_EQ(races[1].raceClass, "Listed");
  EXPECT_EQ(races[1].runners, 1);
  EXPECT_TRUE(RaceFactsOfDay("").empty());
}

}  // namespace
}  // namespace trotix
