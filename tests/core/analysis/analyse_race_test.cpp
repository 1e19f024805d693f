#include "analysis/analyse_race.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/analysis_memo.h"
#include "feeds/race_day.h"
#include "model/columns.h"
#include "net/curl_http_client.h"
#include "support/loopback_server.h"
#include "text/strings.h"

namespace trotix {
namespace {

struct Horse {
  std::string name;
  int rating;
  std::string form;
  std::string winPrice;  // price matched on the win market
  std::string volume;    // money matched on the runner
  std::string placePrice;
};

const std::vector<Horse> kAscot = {
    {"Alpha", 110, "1-23", "4.00", "6,000", "1.80"}, {"Bravo", 100, "4-5", "5.00", "3,000", "2.10"},
    {"Charlie", 90, "0-P", "7.00", "2,000", "2.60"}, {"Delta", 80, "", "20.00", "600", "5.00"},
    {"Echo", 70, "9", "50.00", "400", "11.00"},
};

std::string Card(const std::string& course, const std::string& time,
                 const std::vector<Horse>& horses) {
  std::string text = "<zabeg><course>" + course + "</course><time>" + time +
                     "</time><name>Stakes</name><winner>BJ5000</winner><count>5</count>"
                     "<distance>1m</distance><going>Good</going><class>Class 4</class>\n";
  int n = 0;
  for (const auto& h : horses)
    text += "<horse><number>" + std::to_string(++n) + "</number><name_horse>" + h.name +
            "</name_horse><form>" + h.form + "</form><or>" + std::to_string(h.rating) +
            "</or><ts>0</ts><rpr>" + std::to_string(h.rating) + "</rpr></horse>\n";
  return text + "</zabeg>\n";
}

Workspace Day() {
  Workspace ws;
  ws.DayData = SplitLines(
      Card("Ascot", "13:30", kAscot) +
      Card("Sha Tin", "14:05", {{"Fuji", 60, "2", "", "", ""}, {"Kobe", 50, "3", "", "", ""}}));
  FillRaceLists(ws);
  const int tip = ws.TIPS.AddRow();
  ws.TIPS.SetText(tip, 3, "ALPHA");
  ws.TIPS.SetImage(tip, 4, 1);
  for (const auto& [name, price, move] : std::vector<std::tuple<const char*, const char*, int>>{
           {"Bravo", "5.5", -20}, {"Fuji", "n/a", 40}, {"Kobe", "3.25", 0}}) {
    const int r = ws.LG.AddRow();
    ws.LG.SetText(r, 3, name);
    ws.LG.SetText(r, 4, price);
    ws.LG.SetNumber(r, 6, move);
  }
  return ws;
}

// The exchange's runner pages for the Ascot race: win market 100, place market 200.
class Exchange {
 public:
  Exchange() {
    server_.server().Get("/betting/LoadRunnerInfoAction.do", [](const auto& req, auto& res) {
      const int sel = std::stoi(req.get_param_value("selectionId"));
      const Horse& h = kAscot.at(sel - 1);
      const bool win = req.get_param_value("marketId") == "100";
      auto bold = [](const std::string& v) {
        return "<b class=\"GlobalBoldedText\">" + v + "</b>";
      };
      res.set_content("<html>On this event " +
                          bold("\xC2\xA3"
                               "12,000") +
                          " Volume: " + bold("\xC2\xA3" + h.volume) + " Price matched " +
                          bold(win ? h.winPrice : h.placePrice) + " Starting price " +
                          bold("4.50") + "</html>",
                      "text/html");
    });
    server_.Start();
  }
  std::string Host() const { return "http://" + server_.Address(); }

  // The system's own client, asking for a race's pages as one batch.
  PageFetcher Fetcher() {
    return [this](const std::vector<std::string>& urls) {
      std::vector<std::string> pages;
      for (const auto& answer : client_->GetMany(urls, 4, {})) pages.push_back(BodyOrEmpty(answer));
      return pages;
    };
  }

 private:
  testing::LoopbackServer server_;
  std::unique_ptr<HttpClient> client_ = MakeRedirectingClient();
};

void ListAscotOnExchange(Workspace& ws) {
  for (std::size_t i = 0; i < kAscot.size(); ++i)
    ws.IndicatorList.push_back("13:30>>Ascot>>" + kAscot[i].name + ">>100>>" +
                               std::to_string(i + 1) + ">>200>>");
  const int r = ws.T1.AddRow();
  ws.T1.SetText(r, 1, "13:30");
  ws.T1.SetText(r, 2, "Ascot");
}

int RowOf(const Table& t, const std::string& name) {
  for (int r = 0; r < t.RowCount(); ++r)
    if (t.Text(r, 0) == name || (t.ColumnCount() > 1 && t.Text(r, 1) == name)) return r;
  return -1;
}

TEST(AnalyseRace, LiveAnalysisMergesEverySource) {
  Exchange exchange;
  Hosts hosts;
  hosts.exchangeSite = exchange.Host();
  const VendorUrls urls(hosts);
  Workspace ws = Day();
  ListAscotOnExchange(ws);
  AnalyseRace(ws, 0, true, urls, exchange.Fetcher());

  const Table& tab = ws.TAB;
  ASSERT_EQ(tab.RowCount(), 5);
  EXPECT_EQ(ws.bfnumber, "100");
  EXPECT_EQ(ws.u1, "13:30");
  EXPECT_EQ(ws.u8, "Summ BF: 12000 $");
  const int alpha = RowOf(tab, "Alpha"), bravo = RowOf(tab, "Bravo"), echo = RowOf(tab, "Echo");
  EXPECT_EQ(tab.Text(bravo, tab::kKf), "5");  // the exchange's price, not the moves price
  EXPECT_EQ(tab.Integer(bravo, tab::kMove), -20);
  EXPECT_EQ(tab.Integer(alpha, tab::kBf), 50);
  EXPECT_EQ(tab.Text(alpha, tab::kPlacePrice), "1,80");
  EXPECT_EQ(tab.Text(alpha, tab::kMarketId), "100");
  EXPECT_EQ(tab.Text(alpha, tab::kSelectionId), "1");
  EXPECT_EQ(tab.Image(alpha, tab::kTips), 1);
  EXPECT_EQ(tab.Integer(alpha, tab::kFormRank), 90);
  EXPECT_TRUE(tab.At(alpha, tab::kKf).bold);  // shortest price
  EXPECT_TRUE(tab.At(alpha, tab::kBf).bold);
  EXPECT_TRUE(tab.At(bravo, tab::kMove).bold);
  EXPECT_FALSE(tab.At(echo, tab::kKf).bold);
  for (int i = 0; i < tab.RowCount(); ++i)
    EXPECT_EQ(tab.ColorOf(i, tab::kInd), i == echo ? colors::kWhite : colors::kLightGreen) << i;
  ASSERT_EQ(ws.H.RowCount(), 5);
  // Zorvat scores come from H for the runner of the same name.
  for (int q = 0; q < ws.H.RowCount(); ++q) {
    const int i = RowOf(tab, ws.H.Text(q, 4));
    ASSERT_GE(i, 0);
    EXPECT_EQ(tab.Text(i, tab::kZorvat), ws.H.Text(q, 21));
  }

  ASSERT_EQ(ws.R.RowCount(), 5);
  for (int r = 0; r < ws.R.RowCount(); ++r) {
    int sum = 0;
    for (int c = r::kRank; c <= r::kZorvat; ++c) sum += ws.R.Integer(r, c);
    EXPECT_EQ(ws.R.Integer(r, r::kSumma), sum);
    if (r > 0) {
      EXPECT_LE(ws.R.Number(r - 1, r::kSumma), ws.R.Number(r, r::kSumma));
    }
    const bool isEcho = ws.R.Text(r, 0) == "Echo";
    EXPECT_EQ(ws.R.Integer(r, r::kIndicator), isEcho ? 0 : 100);
  }
  EXPECT_EQ(ws.R.Integer(RowOf(ws.R, "Alpha"), r::kTips1), 100);
  EXPECT_EQ(ws.R.Integer(RowOf(ws.R, "Bravo"), r::kScalp), 20);
  ASSERT_EQ(ws.RR.RowCount(), 2);
  EXPECT_EQ(ws.RR.Text(0, 0), ws.R.Text(4, 0));
  EXPECT_EQ(ws.RR.Text(1, 0), ws.R.Text(3, 0));
}

TEST(AnalyseRace, WithoutRealOddsTheExchangeTablesStandAsTheyAre) {
  Exchange exchange;
  Hosts hosts;
  hosts.exchangeSite = exchange.Host();
  const VendorUrls urls(hosts);
  Workspace ws = Day();
  ListAscotOnExchange(ws);
  AnalyseRace(ws, 0, true, urls, exchange.Fetcher());
  const Table ascotT2 = ws.T2;
  int fetches = 0;
  const PageFetcher counting = [&fetches](const std::vector<std::string>& urls) {
    ++fetches;
    return std::vector<std::string>(urls.size());
  };

  AnalyseRace(ws, 1, false, urls, counting);
  EXPECT_EQ(fetches, 0);
  EXPECT_EQ(ws.T2, ascotT2);
  EXPECT_EQ(ws.bfnumber, "100");
  EXPECT_EQ(ws.u1, "14:05");
  const int fuji = RowOf(ws.TAB, "Fuji"), kobe = RowOf(ws.TAB, "Kobe");
  EXPECT_EQ(ws.TAB.Text(fuji, tab::kKf), "1,01");  // a moves price that is no number
  EXPECT_EQ(ws.TAB.Text(kobe, tab::kKf), "3,25");
  EXPECT_EQ(ws.TAB.Number(fuji, tab::kBf), 0);  // Ascot's runners match nobody here
  EXPECT_FALSE(ws.TAB.At(fuji, tab::kInd).color.has_value());
  ASSERT_EQ(ws.RR.RowCount(), 2);

  // Nothing accumulates from one analysis to the next.
  const Workspace first = ws;
  AnalyseRace(ws, 1, false, urls, counting);
  EXPECT_EQ(ws.TAB, first.TAB);
  EXPECT_EQ(ws.R, first.R);
  EXPECT_EQ(ws.RR, first.RR);
  EXPECT_THROW(AnalyseRace(ws, 2, false, urls, counting), std::out_of_range);
}

// A race analysed again from the tables and pages it had is given its first analysis, whatever
// the races analysed in between left in the tables it empties first; anything else it reads that
// differs, and it is analysed afresh.
TEST(AnalysisMemo, RestoresOnlyWhatTheSameInputsWouldGive) {
  Exchange exchange;
  Hosts hosts;
  hosts.exchangeSite = exchange.Host();
  const VendorUrls urls(hosts);
  Workspace day = Day();
  ListAscotOnExchange(day);
  std::vector<std::string> pages;
  const PageFetcher fetch = exchange.Fetcher();
  const PageFetcher kept = [&](const std::vector<std::string>& asked) {
    return pages = fetch(asked);
  };
  // As a best-of run does; here Sha Tin without pages, then Ascot with them.
  const auto analyse = [&](AnalysisMemo& memo, Workspace& ws, int race, bool realOdds,
                           const std::vector<std::string>& racePages) {
    if (memo.Restore(ws, race, realOdds, racePages)) return true;
    memo.Begin(ws, race, realOdds, racePages);
    AnalyseRace(ws, race, realOdds, urls, realOdds ? kept : fetch);
    memo.Keep(ws);
    return false;
  };
  // The day as an earlier run left it.
  AnalyseRace(day, 0, true, urls, kept);
  const std::vector<std::string> ascotPages = pages;
  ASSERT_FALSE(ascotPages.empty());
  std::vector<std::string> otherPrice = ascotPages;
  otherPrice.back() += " ";

  struct Case {
    const char* name;
    std::function<void(Workspace&)> change;  // to the tables before Ascot's second analysis
    const std::vector<std::string>* pages;
    bool realOdds;
    bool restored;
  };
  const Case cases[] = {
      {"the same tables and pages", [](Workspace&) {}, &ascotPages, true, true},
      {"another race's card and summary left behind",
       [](Workspace& ws) {
         ws.TAB.AddRow();
         ws.R.AddRow();
       },
       &ascotPages, true, true},
      {"a page that changed", [](Workspace&) {}, &otherPrice, true, false},
      {"other exchange runners", [](Workspace& ws) { ws.T2.AddRow(); }, &ascotPages, true, false},
      {"another market number", [](Workspace& ws) { ws.bfnumber = "7"; }, &ascotPages, true, false},
      {"without the exchange", [](Workspace&) {}, &ascotPages, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnalysisMemo memo;
    Workspace ws = day;
    EXPECT_FALSE(analyse(memo, ws, 1, false, {}));
    EXPECT_FALSE(analyse(memo, ws, 0, true, ascotPages));
    const Workspace first = ws;

    // The second run, from where the first ended: each race begins as it did in the first.
    EXPECT_TRUE(analyse(memo, ws, 1, false, {}));
    c.change(ws);
    Workspace fresh = ws;
    AnalyseRace(fresh, 0, c.realOdds, urls, [&](const std::vector<std::string>& asked) {
      return asked.size() == c.pages->size() ? *c.pages : fetch(asked);
    });
    EXPECT_EQ(memo.Restore(ws, 0, c.realOdds, *c.pages), c.restored);
    if (!c.restored) continue;
    // What analysing again gives, table by table and label by label.
    const auto tables = ws.Tables(), expected = fresh.Tables();
    for (std::size_t t = 0; t < tables.size(); ++t)
      EXPECT_EQ(*tables[t].second, *expected[t].second) << tables[t].first;
    EXPECT_EQ(ws.Labels(), fresh.Labels());
    EXPECT_EQ(ws.bfnumber, first.bfnumber);
    EXPECT_FALSE(memo.Restore(ws, 0, c.realOdds, *c.pages)) << "a race is restored once";
  }
}

}  // namespace
}  // namespace trotix
