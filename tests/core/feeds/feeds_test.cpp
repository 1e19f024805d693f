#include "feeds/feeds.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

Workspace WithCourses() {
  Workspace ws;
  ws.CourseTable = {"Ascot>>Ascot>>England>>", "Kempton>>Kempton>>England>>",
                    "Meydan>>Meydan>>UAE>>"};
  return ws;
}

TEST(LoadTips, SameRunnerTwiceKeepsTheFirstRecord) {
  Workspace ws = WithCourses();
  LoadTips(ws,
           "<xml><horse><course>Ascot</course><time>13:30</time><name>Sea Bird</name>"
           "<place>1</place></horse><horse><course>Meydan</course><time>16:00</time>"
           "<name>Sea Bird</name><place>3</place></horse><horse><course>Meydan</course>"
           "<time>16:00</time><name>Dune</name><place>2</place></horse></xml>");
  ASSERT_EQ(ws.TIPS.RowCount(), 2);
  EXPECT_EQ(ws.TIPS.Text(0, 2), "Ascot");
  EXPECT_EQ(ws.TIPS.Image(0, 4), 1);
  EXPECT_EQ(ws.TIPS.Text(1, 3), "Dune");
  EXPECT_EQ(ws.TIPS.Image(1, 0), 4);  // UAE
  EXPECT_EQ(ws.TIPS.At(1, 0).hint, "UAE");
}

TEST(Feeds, AFieldIsReadFromItsOwnRecordOnly) {
  struct Case {
    const char* name;
    void (*load)(Workspace&, std::string_view);
    std::string feed;
    std::vector<std::string> rows;  // name, then place (tips) or move (moves)
  };
  const std::string moveB =
      "<horse><course>Ascot</course><time>13:30</time><name>B</name><precent>7</precent></horse>";
  const Case cases[] = {
      {"tip without place",
       &LoadTips,
       "<horse><course>Ascot</course><time>13:30</time><name>A</name></horse>"
       "<horse><course>Ascot</course><time>14:00</time><name>B</name><place>1</place></horse>",
       {"A 0", "B 1"}},
      {"tips cut inside the last record",
       &LoadTips,
       "<horse><name>A</name><place>2</place></horse><horse><name>B</name><place>1",
       {"A 2"}},
      {"move without a movement",
       &LoadMoves,
       "<horse><name>A</name></horse>" + moveB,
       {"A 0", "B 7"}},
      {"moves cut inside the last record",
       &LoadMoves,
       moveB + "<horse><name>C</name><prec",
       {"B 7"}},
  };
  for (const auto& c : cases) {
    Workspace ws = WithCourses();
    c.load(ws, c.feed);
    const bool tips = c.load == &LoadTips;
    const Table& t = tips ? ws.TIPS : ws.LG;
    std::vector<std::string> rows;
    for (int r = 0; r < t.RowCount(); ++r)
      rows.push_back(t.Text(r, 3) + " " + (tips ? std::to_string(t.Image(r, 4)) : t.Text(r, 6)));
    EXPECT_EQ(rows, c.rows) << c.name;
  }
}

TEST(LoadMoves, MovementColours) {
  struct Case {
    std::string precent;
    double value;
    std::optional<Rgb> color;
  };
  const Case cases[] = {{"+12", 12, colors::kLightRed},
                        {"12", 12, colors::kLightRed},
                        {"-5", -5, colors::kMoveGreen},
                        {"0", 0, std::nullopt},
                        {"n/a", 0, std::nullopt}};
  Workspace ws = WithCourses();
  std::string feed;
  for (const auto& c : cases)
    feed +=
        "<horse><course>  Kempton </course><time>19:00</time><name>N</name><kf1>4.5</kf1>"
        "<kf2>5.0</kf2><precent>" +
        c.precent + "</precent></horse>";
  LoadMoves(ws, feed);
  ASSERT_EQ(ws.LG.RowCount(), 5);
  for (int r = 0; r < 5; ++r) {
    EXPECT_EQ(ws.LG.Number(r, 6), cases[r].value) << cases[r].precent;
    EXPECT_EQ(ws.LG.At(r, 6).color, cases[r].color) << cases[r].precent;
  }
  EXPECT_EQ(ws.LG.Text(0, 2), "Kempton");  // surrounding spaces removed
  EXPECT_EQ(ws.LG.Image(0, 0), 1);         // and the flag found
  EXPECT_EQ(ws.LG.Text(0, 4), "4.5");
  EXPECT_EQ(ws.LG.Text(0, 5), "5.0");
}

TEST(LoadResults, SortedByTimeAndTrailingLineIgnored) {
  Workspace ws = WithCourses();
  EXPECT_TRUE(LoadResults(ws,
                          "results(01.12.2026)\r\n"
                          "15:10>>Ascot>>http://r/3>>Three>>2.5>>B>>3>>C>>4>>D>>5>><br>\r\n"
                          "13:00>>Meydan>>http://r/1>>One>>1.5>>B>>3>>C>>4>>D>>5>><br>"
                          "14:20>>Kempton>>http://r/2>>Two>>6>>B>>3>><br>\r\n"
                          "16:00>>Ascot>>http://r/4>>Never>>1>>B>>2>>C>>3>>D>>4>>\r\n"));
  ASSERT_EQ(ws.REZ.RowCount(), 3);
  EXPECT_EQ(ws.REZ.Text(0, 1), "13:00");
  EXPECT_EQ(ws.REZ.Text(1, 1), "14:20");
  EXPECT_EQ(ws.REZ.Text(2, 1), "15:10");
  EXPECT_EQ(ws.REZ.Text(0, 3), "One");
  EXPECT_EQ(ws.REZ.Text(0, 4), "1.5");
  EXPECT_EQ(ws.REZ.Text(0, 10), "5");
  EXPECT_EQ(ws.REZ.Text(0, 11), "http://r/1");
  EXPECT_EQ(ws.REZ.Text(1, 7), "");  // fewer than eleven fields: empty cells
  EXPECT_EQ(ws.REZ.Image(0, 0), 4);
}

TEST(LoadResults, NoLinesShowsNoInformationAndClearsOldRows) {
  Workspace ws = WithCourses();
  EXPECT_TRUE(LoadResults(ws, "x)13:00>>Ascot>>http://r>>A>>1>>B>>2>>C>>3>>D>>4>><br>"));
  ASSERT_EQ(ws.REZ.RowCount(), 1);
  EXPECT_FALSE(LoadResults(ws, ""));
  EXPECT_EQ(ws.REZ.RowCount(), 0);
}

TEST(ResultLink, OnlyWebAddresses) {
  Workspace ws = WithCourses();
  LoadResults(ws,
              ")13:00>>Ascot>>https://results.example/1>>A>>1>>B>>2>>C>>3>>D>>4>><br>"
              "14:00>>Ascot>>file:///etc/passwd>>A>>1>>B>>2>>C>>3>>D>>4>><br>");
  EXPECT_EQ(ResultLink(ws, 0), "https://results.example/1");
  EXPECT_EQ(ResultLink(ws, 1), std::nullopt);
  EXPECT_EQ(ResultLink(ws, 7), std::nullopt);
}

}  // namespace
}  // namespace trotix
