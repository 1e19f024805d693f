// The demo market against published British and Irish racing figures (docs/demo-market.md),
// over a year of generated days.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "text/numbers.h"
#include "vendorsim/generator.h"
#include "vendorsim/market.h"

namespace trotix::vendorsim {
namespace {

std::vector<const Runner*> Running(const Race& race) {
  std::vector<const Runner*> out;
  for (const Runner& r : race.runners)
    if (!r.nonRunner()) out.push_back(&r);
  return out;
}

const Runner* Winner(const Race& race) {
  for (const Runner& r : race.runners)
    if (r.finish == 1) return &r;
  return nullptr;
}

int Rating(const std::string& text, bool missing) {
  return missing ? 0 : IntegerOrZero(text);
}

// Where a runner finished in its recent runs, on average (tenth or worse as ten); 99 for none.
double MeanFormPlace(const std::string& form) {
  int sum = 0, runs = 0;
  for (char c : form) {
    if (c < '0' || c > '9') continue;
    sum += c == '0' ? 10 : c - '0';
    ++runs;
  }
  return runs ? static_cast<double>(sum) / runs : 99;
}

// A year of demo days, and the figures a racing statistician would take from it.
struct Year {
  std::vector<Day> days;
  std::map<std::string, int> tipPlace;  // TipKey -> the tip's place, 1 best
};

std::string TipKey(const Date& day, const std::string& course, const std::string& time,
                   const std::string& name) {
  return FormatDate(day) + " " + course + " " + time + " " + name;
}

const Year& TheYear() {
  static const Year year = [] {
    Year y;
    for (Date d{2025, 1, 1}; d.year == 2025; d = AddDays(d, 1)) {
      y.days.push_back(GenerateDay(1, d, 40));
      for (const Tip& t : y.days.back().tips)
        y.tipPlace.emplace(TipKey(d, t.course, t.time, t.name), std::stoi(t.place));
    }
    return y;
  }();
  return year;
}

template <class F>
void ForEachRunRace(F f) {
  for (const Day& d : TheYear().days)
    for (const Race& race : d.races)
      if (Winner(race)) f(d, race);
}

TEST(DemoMarket, FavouritesWinAThirdOfRacesAndWinnersSpLooksLikeRacing) {
  int races = 0, favourites = 0, above50 = 0, above300 = 0;
  std::vector<double> winnerSp;
  // Level stakes at SP on the favourites and on the runners at 20/1 or longer.
  double favouriteProfit = 0, longShotProfit = 0;
  int longShotBets = 0;
  ForEachRunRace([&](const Day&, const Race& race) {
    ++races;
    double shortest = 1e9;
    for (const Runner* r : Running(race)) shortest = std::min(shortest, r->startPrice);
    for (const Runner* r : Running(race)) {
      const double profit = r->finish == 1 ? r->startPrice - 1 : -1;
      if (r->startPrice == shortest) favouriteProfit += profit;
      if (r->startPrice >= 21) {
        longShotProfit += profit;
        ++longShotBets;
      }
    }
    const Runner* w = Winner(race);
    favourites += w->startPrice == shortest;
    winnerSp.push_back(w->startPrice);
    above50 += w->startPrice > 51;  // above 50/1
    above300 += w->startPrice > 301;
  });
  std::sort(winnerSp.begin(), winnerSp.end());
  const double favouriteRate = static_cast<double>(favourites) / races;
  const double median = winnerSp[winnerSp.size() / 2];
  const double longShots = static_cast<double>(above50) / races;
  const double favouriteRoi = favouriteProfit / races;
  const double longShotRoi = longShotProfit / longShotBets;
  std::printf(
      "races %d, favourites %.3f, median winner SP %.2f, above 50/1 %.4f, ROI at SP of "
      "favourites %+.3f, of 20/1 and longer %+.3f\n",
      races, favouriteRate, median, longShots, favouriteRoi, longShotRoi);
  EXPECT_GT(races, 365 * 38);
  EXPECT_GE(favouriteRate, 0.30);
  EXPECT_LE(favouriteRate, 0.37);
  EXPECT_GE(median, 4.0);
  EXPECT_LE(median, 7.0);
  EXPECT_GE(longShots, 0.003);
  EXPECT_LE(longShots, 0.02);
  EXPECT_EQ(above300, 0);
  // The favourite-longshot bias: both lose, the long shots far more.
  EXPECT_LT(favouriteRoi, 0);
  EXPECT_GT(favouriteRoi, -0.18);
  EXPECT_LT(longShotRoi, favouriteRoi - 0.15);
}

TEST(DemoMarket, BooksOfTheExchangeAndOfTheStartingPrices) {
  double exchange = 0;
  int priced = 0;
  // Field sizes 2-4, 5-8, 9-12, 13-16, 17-20.
  std::vector<double> spBook(5, 0), favouriteSp(5, 0);
  std::vector<int> spRaces(5, 0);
  for (const Day& d : TheYear().days) {
    for (const Race& race : d.races) {
      const auto running = Running(race);
      if (running.size() < 2) continue;
      std::vector<double> prices, sp;
      for (const Runner* r : running) {
        prices.push_back(r->price);
        sp.push_back(r->startPrice);
      }
      if (std::find(prices.begin(), prices.end(), 0.0) == prices.end()) {
        exchange += Book(prices);
        ++priced;
        for (double p : prices) EXPECT_EQ(p, SnapPrice(p)) << "on the exchange's ladder";
      }
      const int band = std::min<int>(4, (static_cast<int>(running.size()) - 1) / 4);
      spBook[band] += Book(sp);
      favouriteSp[band] += *std::min_element(sp.begin(), sp.end());
      ++spRaces[band];
    }
  }
  const double meanExchange = exchange / priced;
  std::printf("exchange book %.4f over %d races; SP book by field:", meanExchange, priced);
  EXPECT_GE(meanExchange, 1.00);
  EXPECT_LE(meanExchange, 1.03);
  double previous = 0;
  for (int b = 0; b < 5; ++b) {
    ASSERT_GT(spRaces[b], 100) << b;
    const double mean = spBook[b] / spRaces[b];
    std::printf(" %.3f (favourite at %.2f)", mean, favouriteSp[b] / spRaces[b]);
    EXPECT_GE(mean, 1.10) << b;
    EXPECT_LE(mean, 1.40) << b;
    EXPECT_GT(mean, previous) << "the book grows with the field";
    previous = mean;
  }
  std::printf("\n");
  EXPECT_LT(favouriteSp[0] / spRaces[0] * 2, favouriteSp[4] / spRaces[4])
      << "a small field's favourite is far shorter than a big handicap's";
}

TEST(DemoMarket, NonRunnersAndAbandonedMeetingsAtRealRates) {
  int declared = 0, nonRunners = 0, late = 0, tippedLate = 0, races = 0, abandoned = 0;
  for (const Day& d : TheYear().days) {
    for (const Race& race : d.races) {
      ++races;
      abandoned += race.abandoned;
      EXPECT_EQ(race.abandoned, Winner(race) == nullptr);
      for (const Runner& r : race.runners) {
        ++declared;
        if (!r.nonRunner()) continue;
        ++nonRunners;
        late += r.lateNonRunner;
        tippedLate += TheYear().tipPlace.count(TipKey(d.date, race.course, race.time, r.name));
      }
    }
  }
  const double rate = static_cast<double>(nonRunners) / declared;
  std::printf("non-runners %.4f (%d after the tips, %d of them tipped), abandoned races %.4f\n",
              rate, late, tippedLate, static_cast<double>(abandoned) / races);
  EXPECT_GE(rate, 0.01);
  EXPECT_LE(rate, 0.05);
  EXPECT_GT(tippedLate, 0) << "some runners are withdrawn after the tips named them";
  EXPECT_GT(abandoned, 0);
  EXPECT_LT(abandoned, races / 25);
}

// Each thing the vendor sends points at the winner more often than chance and never for sure;
// the top-rated runner wins clearly more often than an average runner of its field, yet backing
// it blindly loses at the starting price.
TEST(DemoMarket, WhatTheVendorSendsReflectsAbilityWithNoise) {
  using Score = std::function<double(const Day&, const Race&, const Runner&)>;
  const auto tip = [](const Day& d, const Race& race, const Runner& r) {
    const auto& tips = TheYear().tipPlace;
    const auto it = tips.find(TipKey(d.date, race.course, race.time, r.name));
    return it == tips.end() ? 0.0 : 4.0 - it->second;
  };
  const struct {
    const char* source;
    Score score;
  } sources[] = {
      {"rating sum",
       [](const Day&, const Race&, const Runner& r) {
         return 0.0 + Rating(r.orText, r.orMissing) + Rating(r.tsText, r.tsMissing) +
                Rating(r.rprText, r.rprMissing);
       }},
      {"OR", [](const Day&, const Race&,
                const Runner& r) { return 0.0 + Rating(r.orText, r.orMissing); }},
      {"TS", [](const Day&, const Race&,
                const Runner& r) { return 0.0 + Rating(r.tsText, r.tsMissing); }},
      {"RPR", [](const Day&, const Race&,
                 const Runner& r) { return 0.0 + Rating(r.rprText, r.rprMissing); }},
      {"form", [](const Day&, const Race&, const Runner& r) { return -MeanFormPlace(r.form); }},
      {"tips", tip},
      {"money", [](const Day&, const Race&, const Runner& r) { return 0.0 + r.matched; }},
      {"move", [](const Day&, const Race&,
                  const Runner& r) { return r.price > 0 ? r.morningPrice / r.price : 0.0; }},
  };
  for (const auto& s : sources) {
    int races = 0, wins = 0;
    double fair = 0, profit = 0;
    ForEachRunRace([&](const Day& d, const Race& race) {
      const auto running = Running(race);
      const Runner* top = running.front();
      bool alike = true;
      for (const Runner* r : running) {
        alike = alike && s.score(d, race, *r) == s.score(d, race, *top);
        if (s.score(d, race, *r) > s.score(d, race, *top)) top = r;
      }
      if (alike) return;  // the source says nothing of this race
      ++races;
      fair += 1.0 / running.size();
      const bool won = top->finish == 1;
      wins += won;
      profit += won ? top->startPrice - 1 : -1;
    });
    const double strike = static_cast<double>(wins) / races;
    const double average = fair / races;
    std::printf("%-10s races %5d strike %.3f (average runner %.3f) ROI at SP %+.3f\n", s.source,
                races, strike, average, profit / races);
    EXPECT_GT(strike, 1.3 * average) << s.source;
    EXPECT_LT(strike, 0.5) << s.source;
    EXPECT_LT(profit, 0) << s.source << " loses at SP";
  }
}

}  // namespace
}  // namespace trotix::vendorsim
