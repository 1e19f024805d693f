// Zorvat scoring through the real sign-in: the reference files come from the vendor's web site.
#include <gtest/gtest.h>

#include "core/analysis/zorvat/zorvat_fixtures.h"
#include "support/fixture_server.h"
#include "support/session_harness.h"

namespace trotix {
namespace {

TEST(SessionZorvat, WorkedExampleThroughTheSignIn) {
  testing::FixtureServer vendor;
  vendor.Set("/refresh/trotix3.8.txt", "ok");
  // Five runners, four starting with A: ID 8; "Maiden" alone counts for VP 2; "Dab" has VH 7.
  vendor.Set(
      "/login/trotix.php",
      testing::RaceBlock("Ascot", "14:30", "Maiden Stakes",
                         testing::RunnerBlock("3", "Atlas") + testing::RunnerBlock("1", "ALPHA") +
                             testing::RunnerBlock("5", "Aster") + testing::RunnerBlock("4", "dab") +
                             testing::RunnerBlock("2", "Amber")));
  vendor.Set("/zorvat/processbasa.txt", "47>>3>>5>>6>>8>>2>>9>>4>>1>>1>>1>>1>>1>>1>>5>>\r\n");
  vendor.Set("/zorvat/score.txt", "4B(c)>>DF>>IV>>12>>\r\n");
  vendor.Set("/zorvat/dvbasa.txt", "06.03>>1>>\r\n07.03>>3>>\r\n");

  testing::SessionHarness h(vendor.Base(), Date{2024, 3, 7});
  h.session->Start();
  ASSERT_EQ(h.session->SignIn({}), SignInResult::SignedIn);
  Workspace& ws = h.ws();
  EXPECT_EQ(ws.RF.Text(0, rf::kDV), "3");

  h.session->ScoreZorvatRace(0);
  EXPECT_EQ(ws.RF.Text(0, rf::kFNH), "5");
  EXPECT_EQ(ws.RF.Text(0, rf::kID), "8");
  EXPECT_EQ(ws.RF.Text(0, rf::kVP), "2");
  ASSERT_EQ(ws.H.RowCount(), 5);
  EXPECT_EQ(ws.H.Text(3, h::kHorse), "Dab");
  EXPECT_EQ(ws.H.Text(3, h::kStatusI), "4B(c)");
  EXPECT_EQ(ws.H.Text(3, h::kScore), "12");
  const Rgb expected[] = {colors::kRed,       colors::kGreen,  colors::kWhite,
                          colors::kLightBlue, colors::kPurple, colors::kWhite};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ws.H.ColorOf(3, h::kValuesI + i), expected[i]) << i;
    EXPECT_EQ(ws.H.ColorOf(3, h::kValuesII + i), colors::kWhite) << i;
  }
  // The no-redirect client fetched the three files.
  int zorvatRequests = 0;
  for (const auto& r : vendor.Requests()) zorvatRequests += r.starts_with("/zorvat/");
  EXPECT_EQ(zorvatRequests, 3);
}

}  // namespace
}  // namespace trotix
