// The ALL TABLE analysis, the report and the browser buttons through the Session, on the demo day.
#include <gtest/gtest.h>

#include "model/columns.h"
#include "support/fixture_server.h"
#include "support/session_harness.h"
#include "text/strings.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

using testing::ReadFile;

class SessionAnalysisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vendorsim::SimOptions options;
    options.date = {2026, 12, 8};
    options.races = 12;
    sim = std::make_unique<vendorsim::VendorSim>(options);
    sim->Start();
    h = std::make_unique<testing::SessionHarness>(sim->BaseUrl());
    h->session->Start();
    ASSERT_EQ(h->session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  }

  // The first race of MM that the exchange lists, and the first it does not.
  int RaceWithMarket(bool listed) {
    for (int k = 0; k < static_cast<int>(sim->day().races.size()); ++k)
      if (sim->day().races[k].onExchange() == listed) return k;
    return -1;
  }

  Workspace& ws() { return h->ws(); }

  std::unique_ptr<vendorsim::VendorSim> sim;
  std::unique_ptr<testing::SessionHarness> h;
};

TEST_F(SessionAnalysisTest, LiveAnalysisEnablesTheButtonsForARaceWithAMarket) {
  const int k = RaceWithMarket(true);
  ASSERT_GE(k, 0);
  h->session->AnalyseLive(k);
  const int runners = static_cast<int>(sim->day().races[k].runners.size());
  EXPECT_EQ(ws().TAB.RowCount(), runners);
  EXPECT_EQ(ws().R.RowCount(), runners);
  EXPECT_EQ(ws().RR.RowCount(), std::min(runners, runners < 8 ? 2 : runners <= 16 ? 3 : 4));
  EXPECT_EQ(ws().bfnumber, sim->day().races[k].winMarket);
  EXPECT_TRUE(h->session->view().tvbuttonEnabled);
  EXPECT_TRUE(h->session->view().bfbuttonEnabled);
  EXPECT_TRUE(ws().u8.starts_with("Summ BF: ")) << ws().u8;
  EXPECT_GT(ws().T2.RowCount(), 0);
  // R is sorted by "Summa", highest last; RR lists the highest first.
  for (int r = 1; r < ws().R.RowCount(); ++r)
    EXPECT_LE(ws().R.Number(r - 1, 9), ws().R.Number(r, 9));
  EXPECT_EQ(ws().RR.Text(0, 0), ws().R.Text(ws().R.RowCount() - 1, 0));

  h->session->OpenVideo();
  const auto video = h->folder.path() / "video.html";
  ASSERT_EQ(h->browser.opened, std::vector<std::string>{video.string()});
  const auto lines = SplitLines(ReadFile(video));
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_NE(lines[8].find("/GetPlayer.do?tr=1&amp;mID=1." + ws().bfnumber), std::string::npos);
  h->session->OpenMarket();
  EXPECT_EQ(h->browser.opened.back(),
            sim->BaseUrl() + "/exchange/plus/horse-racing/market/1." + ws().bfnumber);
}

TEST_F(SessionAnalysisTest, RaceWithoutMarketLeavesTheButtonsDisabled) {
  const int k = RaceWithMarket(false);
  ASSERT_GE(k, 0);
  h->session->AnalyseLive(k);
  EXPECT_EQ(ws().bfnumber, "");
  EXPECT_FALSE(h->session->view().tvbuttonEnabled);
  EXPECT_GT(ws().R.RowCount(), 0);
}

// The header, TAB, R, RR, the market number and the buttons tell of one race, or are empty.
TEST_F(SessionAnalysisTest, EveryFigureBelongsToTheRaceInTheHeader) {
  const ViewState& view = h->session->view();
  const int k = RaceWithMarket(true);
  const int other = k == 0 ? 1 : 0;
  h->session->AnalyseLive(k);
  EXPECT_EQ(view.raceOnScreen, k);
  EXPECT_EQ(view.exchangePrices, "exchange prices 12:00:00");
  const std::string total = ws().u8;
  EXPECT_NE(total, "Summ Betfair:");

  h->session->ScoreZorvatRace(k);  // the same race: its figures stay
  EXPECT_GT(ws().R.RowCount(), 0);
  EXPECT_TRUE(view.tvbuttonEnabled);

  h->session->ScoreZorvatRace(other);  // another race's card: nothing of race k stays
  EXPECT_EQ(ws().u1, ws().MM.Text(other, mm::kTime));
  EXPECT_EQ(ws().R.RowCount(), 0);
  EXPECT_EQ(ws().RR.RowCount(), 0);
  EXPECT_EQ(ws().bfnumber, "");
  EXPECT_EQ(ws().u8, "Summ Betfair:");
  EXPECT_FALSE(view.tvbuttonEnabled || view.bfbuttonEnabled);
  EXPECT_EQ(view.raceOnScreen, other);

  h->session->AnalyseWithoutOdds(other);
  EXPECT_EQ(view.exchangePrices, "without exchange prices");
  EXPECT_EQ(ws().u8, "Summ Betfair:");  // T2 still holds race k
  h->session->AnalyseWithoutOdds(k);    // T2's own race: its earlier prices, and their time
  EXPECT_EQ(view.exchangePrices, "exchange prices 12:00:00");
  EXPECT_EQ(ws().u8, total);

  h->session->RunBestRecoming(/*fromRealOdds=*/false);
  const int last = ws().MM.RowCount() - 1;
  EXPECT_EQ(view.raceOnScreen, last);
  EXPECT_EQ(ws().u1, ws().MM.Text(last, mm::kTime));
}

TEST_F(SessionAnalysisTest, TodayAnalysisIsRepeatableAndShowsAllTable) {
  const int k = RaceWithMarket(true);
  h->session->AnalyseLive(k);  // T2 now holds this race's exchange runners
  h->session->AnalyseWithoutOdds(k);
  const Table tab = ws().TAB, r = ws().R, rr = ws().RR;
  EXPECT_EQ(h->session->view().activePage, kPageAllTable);
  EXPECT_EQ(ws().bfnumber, "");
  EXPECT_FALSE(h->session->view().tvbuttonEnabled);
  EXPECT_FALSE(h->session->view().bfbuttonEnabled);
  h->session->AnalyseWithoutOdds(k);
  EXPECT_EQ(ws().TAB, tab);
  EXPECT_EQ(ws().R, r);
  EXPECT_EQ(ws().RR, rr);
}

TEST_F(SessionAnalysisTest, ReportListAddDeleteClearAndSave) {
  h->session->AnalyseWithoutOdds(0);
  h->session->SaveReport();  // an empty report writes nothing
  EXPECT_TRUE(h->browser.opened.empty());
  EXPECT_FALSE(std::filesystem::exists(h->folder.path() / "report.html"));

  h->session->AddToReport(0);
  h->session->AddToReport(0);
  ASSERT_EQ(ws().REP.RowCount(), 2);
  EXPECT_EQ(ws().REP.Text(0, 0), ws().u1);
  EXPECT_EQ(ws().REP.Text(0, 2), ws().TAB.Text(0, 1));
  EXPECT_EQ(ws().REP.Text(0, 4), "MySystem");
  EXPECT_EQ(h->messages.shown, (std::vector<std::string>{"Add to Report", "Add to Report"}));

  h->messages.shown.clear();
  h->session->DeleteReportRow();  // nothing selected
  h->session->SelectReportRow(1);
  h->session->DeleteReportRow();
  h->session->DeleteReportRow();  // the remembered row is gone with the delete
  EXPECT_EQ(ws().REP.RowCount(), 1);
  h->session->SelectReportRow(0);
  h->session->ClearReport();
  h->session->DeleteReportRow();  // "Clear" forgets the remembered row too
  EXPECT_EQ(h->messages.shown, std::vector<std::string>(3, "Select Please Horse"));
  EXPECT_EQ(ws().REP.RowCount(), 0);

  h->session->AddToReport(1);
  h->session->SaveReport();
  const auto page = h->folder.path() / "report.html";
  ASSERT_EQ(h->browser.opened, std::vector<std::string>{page.string()});
  const std::string text = ReadFile(page);
  EXPECT_EQ(SplitLines(text).size(), 8u + 7u);
  EXPECT_TRUE(text.ends_with("</tr>\r\n"));
  h->session->ExportReportCsv();
  EXPECT_EQ(h->browser.opened.back(), (h->folder.path() / "report.csv").string());
  EXPECT_EQ(h->session->view().savedFile, (h->folder.path() / "report.csv").string());
  EXPECT_FALSE(h->session->view().reportUnsaved);

  // "Save as…" writes where the user chose; the window learns what was written.
  h->session->AddToReport(0);
  EXPECT_TRUE(h->session->view().reportUnsaved);
  const int saves = h->session->view().saves;
  const auto chosen = h->folder.path() / "kept" / "report-08.12.2026.html";
  std::filesystem::create_directory(chosen.parent_path());
  h->session->SaveReportAs(chosen);
  EXPECT_EQ(SplitLines(ReadFile(chosen)).size(), 8u + 2 * 7u);
  EXPECT_EQ(h->session->view().savedFile, chosen.string());
  EXPECT_EQ(h->session->view().saves, saves + 1);
  EXPECT_FALSE(h->session->view().reportUnsaved);
  h->session->ExportReportCsvAs(h->folder.path() / "kept" / "picks.csv");
  EXPECT_EQ(SplitLines(ReadFile(h->folder.path() / "kept" / "picks.csv")).size(), 3u);
  h->session->ClearReport();
  EXPECT_FALSE(h->session->view().reportUnsaved);
}

TEST_F(SessionAnalysisTest, SaveIntoAFolderThatIsGoneShowsWhyAndOpensNothing) {
  h->session->AnalyseWithoutOdds(0);
  h->session->AddToReport(0);
  h->messages.shown.clear();
  std::filesystem::remove_all(h->folder.path());
  h->session->SaveReport();
  ASSERT_EQ(h->messages.shown.size(), 1u);
  EXPECT_TRUE(h->messages.shown[0].starts_with("Cannot write ")) << h->messages.shown[0];
  EXPECT_TRUE(h->browser.opened.empty());
}

TEST_F(SessionAnalysisTest, BestOfRunsAppendInRaceOrderAndCanBeCancelled) {
  for (const bool realOdds : {false, true}) {
    ws().REP.ClearRows();
    h->session->RunBestRecoming(realOdds);  // "Best Recoming": one pick per race with runners
    const int picks = ws().REP.RowCount();
    EXPECT_GT(picks, 0);
    for (int r = 0; r < picks; ++r) EXPECT_EQ(ws().REP.Text(r, 4), "Best Recoming");
    EXPECT_FALSE(h->progress.pr2Visible);
    h->session->RunBestRecoming(realOdds);  // a second run appends again
    EXPECT_EQ(ws().REP.RowCount(), 2 * picks);
    const Table twice = ws().REP;
    for (int r = 0; r < picks; ++r)
      for (int c = 0; c < 5; ++c) EXPECT_EQ(twice.Text(r, c), twice.Text(r + picks, c));
  }

  ws().REP.ClearRows();
  h->session->RunBestRank(true);  // "Best Rank"
  for (int r = 0; r < ws().REP.RowCount(); ++r) EXPECT_EQ(ws().REP.Text(r, 4), "Best Rank");

  ws().REP.ClearRows();
  h->progress.steps = 0;
  h->progress.onStep = [&](const Workspace&, const RaceStep& step) {
    if (step.race == 3) h->progress.stop.Cancel();  // Cancel while the third race is shown
    return true;
  };
  h->session->RunBestRecoming(true);
  EXPECT_EQ(h->progress.steps, 3);
  EXPECT_LE(ws().REP.RowCount(), 3);
  EXPECT_GT(ws().REP.RowCount(), 0);  // the rows of the races done stay
  EXPECT_FALSE(h->progress.pr2Visible);
  EXPECT_TRUE(h->messages.shown.empty());  // the user's own Cancel needs no word

  // A Cancel that reaches the window before the fourth race could be shown: that race is taken
  // back whole, and the Session is left as the third race left it.
  h->progress.stop.Reset();
  ws().REP.ClearRows();
  h->progress.steps = 0;
  WorkspaceView third;
  ViewState thirdView;
  h->progress.onStep = [&](const Workspace& ws, const RaceStep& step) {
    if (step.race == 4) return false;
    third = ws.view();
    thirdView = h->session->view();
    return true;
  };
  h->session->RunBestRank(false);
  EXPECT_EQ(h->progress.steps, 3);
  EXPECT_TRUE(h->progress.stop.cancelled());
  for (std::size_t i = 0; i < third.Tables().size(); ++i)
    EXPECT_EQ(*ws().Tables()[i].second, *third.Tables()[i].second) << third.Tables()[i].first;
  EXPECT_EQ(ws().Labels(), third.Labels());
  EXPECT_EQ(h->session->view().raceOnScreen, thirdView.raceOnScreen);
  EXPECT_EQ(h->session->view().exchangePrices, thirdView.exchangePrices);
}

TEST(SessionEmptyDay, BestOfOverNoRacesAddsNothing) {
  testing::FixtureServer vendor;
  vendor.Set("/refresh/trotix3.8.txt", "ok");
  vendor.Set("/login/trotix.php", "no races today");
  testing::SessionHarness h(vendor.Base());
  h.session->Start();
  ASSERT_EQ(h.session->SignIn({}), SignInResult::SignedIn);
  EXPECT_EQ(h.ws().glavcount, "Count: 0  ");
  h.session->RunBestRank(true);
  EXPECT_EQ(h.ws().REP.RowCount(), 0);
  EXPECT_FALSE(h.progress.pr2Visible);
  EXPECT_EQ(h.progress.steps, 0);
}

}  // namespace
}  // namespace trotix
