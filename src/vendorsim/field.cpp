#include "vendorsim/field.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "vendorsim/market.h"
#include "vendorsim/words.h"

namespace trotix::vendorsim {
namespace {

// Rating points per unit of ability.
constexpr double kPointsPerAbility = 14;
// How much of a runner's ability is its well-being on the day, which neither its record nor the
// morning's market sees.
constexpr double kOnTheDay = 0.4;
// Runners declared but withdrawn, of all declared.
constexpr double kNonRunnerRate = 0.03;

std::string HorseName(Rng& rng, std::set<std::string>& used) {
  const WordLists& w = Words();
  for (;;) {
    std::string name;
    const double kind = rng.Real();
    if (kind < 0.2) {
      name = rng.Pick(w.horseSingle);
    } else if (kind < 0.9) {
      name = rng.Pick(w.horseFirst) + " " + rng.Pick(w.horseSecond);
    } else {
      name = rng.Pick(w.horseFirst) + " " + rng.Pick(w.horseSingle);
    }
    if (name.size() <= 18 && used.insert(name).second) return name;
  }
}

std::string Person(Rng& rng) {
  const WordLists& w = Words();
  return rng.Pick(w.initials) + " " + rng.Pick(w.surnames);
}

// Recent runs, oldest first: where a runner of standing `z` (its ability in deviations of its
// field) finished in fields of 5-16, 0 for tenth or worse; a fall, a pull-up and the like now
// and then, mostly over jumps; "-" between seasons and "/" after a long break.
std::string Form(Rng& rng, double z, bool jumps) {
  const int runs = rng.Int(0, 6);
  std::string form;
  for (int i = 0; i < runs; ++i) {
    if (i > 0 && rng.Chance(0.15)) form += rng.Chance(0.7) ? '-' : '/';
    if (rng.Chance(jumps ? 0.08 : 0.01)) {
      form += "PFURB"[rng.Int(0, 4)];
      continue;
    }
    const int field = rng.Int(5, 16);
    const double behind = 1 / (1 + std::exp(1.1 * z + 0.9 * rng.Normal()));
    const int place = std::clamp(1 + static_cast<int>(behind * field), 1, field);
    form += place >= 10 ? '0' : static_cast<char>('0' + place);
  }
  return form;
}

// A rating as the vendor sends it: digits mostly, sometimes "-", blank, something odd or no
// tag at all.
void Rating(Rng& rng, double value, std::string& text, bool& missing) {
  const int points = std::max(5, static_cast<int>(std::lround(value)));
  const double c = rng.Real();
  if (c < 0.07) {
    text = "-";
  } else if (c < 0.11) {
    text = "";
  } else if (c < 0.14) {
    missing = true;
  } else if (c < 0.15) {
    text = std::to_string(points) + "+";
  } else {
    text = std::to_string(points);
  }
}

// The rating of an average runner of the race: higher in better classes and over jumps.
double ClassRating(const Race& race, bool jumps) {
  double base = 60;
  if (race.raceClass.starts_with("Class "))
    base = 112 - 12 * (race.raceClass.back() - '0');
  else if (race.raceClass == "Listed")
    base = 105;
  else if (race.raceClass.starts_with("Group"))
    base = 118 - 4 * (race.raceClass.back() - '0');
  return base + (jumps ? 25 : 0);
}

std::vector<Runner*> Running(Race& race) {
  std::vector<Runner*> out;
  for (Runner& r : race.runners)
    if (!r.nonRunner()) out.push_back(&r);
  return out;
}

}  // namespace

void DrawField(Rng& rng, Race& race, const RaceShape& shape, std::set<std::string>& usedNames) {
  const int span = shape.maxField - shape.minField;
  const int n = shape.minField + (rng.Int(0, span) + rng.Int(0, span) + 1) / 2;
  race.count = std::to_string(n);
  const double base = ClassRating(race, shape.jumps);
  // A big field takes in more of every sort, the no-hopers among them.
  const double spread = shape.spread * (0.72 + 0.0225 * n);
  const bool metric =
      race.country == "France" || race.country == "UAE" || race.country == "Hong Kong";
  int nonRunners = 0;
  for (int i = 0; i < n; ++i) {
    Runner r;
    r.number = std::to_string(i + 1);
    if (n - nonRunners > 2 && rng.Chance(kNonRunnerRate)) {
      r.number = "NR";
      r.lateNonRunner = rng.Chance(0.4);
      ++nonRunners;
    }
    r.name = HorseName(rng, usedNames);
    r.trainer = Person(rng);
    r.jockey = Person(rng);
    r.age = std::to_string(shape.jumps ? rng.Int(4, 12) : rng.Int(2, 7));
    if (metric)
      r.weight = std::to_string(rng.Int(52, 62)) + (rng.Chance(0.3) ? ".5" : "");
    else
      r.weight = std::to_string(rng.Int(8, 11)) + "-" + std::to_string(rng.Int(0, 13));
    double z = rng.Normal();
    if (rng.Chance(shape.outsiders)) z -= rng.Real(0.5, 2.6);
    r.onTheDay = kOnTheDay * rng.Normal();
    r.ability = spread * z + r.onTheDay;
    r.form = Form(rng, z, shape.jumps);
    r.days = r.form.empty() && rng.Chance(0.7) ? "" : std::to_string(rng.Int(6, 380));
    // Racing Post's figure tells most, the handicapper's mark lags, the clock is noisiest.
    const double rating = base + kPointsPerAbility * spread * z;
    Rating(rng, rating + 7 * rng.Normal(), r.orText, r.orMissing);
    Rating(rng, rating - 12 + 11 * rng.Normal(), r.tsText, r.tsMissing);
    Rating(rng, rating + 3 + 5 * rng.Normal(), r.rprText, r.rprMissing);
    race.runners.push_back(std::move(r));
  }
}

void PriceRace(Rng& rng, Race& race) {
  const std::vector<Runner*> running = Running(race);
  const std::size_t n = running.size();
  // The market reads ability with an error. The morning's read misses how the runner is on the
  // day; by the off the stable's money has told most of it, so a price that shortened tells.
  std::vector<double> abilities, morning, view;
  for (Runner* r : running) {
    const double known = r->ability - r->onTheDay;
    abilities.push_back(r->ability);
    morning.push_back(known + 0.3 * rng.Normal());
    view.push_back(known + 0.9 * r->onTheDay + 0.1 * rng.Normal());
  }
  const std::vector<double> chances = WinChances(abilities);
  const std::vector<double> market = WinChances(view);
  const std::vector<double> prices = ExchangePrices(market, rng.Real(1.0, 1.03));
  const std::vector<double> early = ExchangePrices(WinChances(morning), rng.Real(1.0, 1.03));
  std::vector<double> off = view;
  for (double& v : off) v += 0.05 * rng.Normal();
  const std::vector<double> starting = StartingPrices(
      WinChances(off), StartingPriceBook(static_cast<int>(n)) + rng.Real(-0.02, 0.02));

  // Money follows the market's view, and a little of what it does not know.
  std::vector<double> weights, placeWeights;
  double total = 0, placeTotal = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double insight = 0.4 * std::log(chances[i] / market[i]);
    total += weights.emplace_back(market[i] * std::exp(insight + 0.3 * rng.Normal()));
    placeTotal += placeWeights.emplace_back(std::sqrt(market[i]) * std::exp(0.3 * rng.Normal()));
  }
  race.eventMatched = rng.Int(15, 2500) * 1000ll + rng.Int(0, 999);
  race.placeEventMatched = race.eventMatched * rng.Int(8, 20) / 100;
  for (std::size_t i = 0; i < n; ++i) {
    Runner& r = *running[i];
    r.chance = chances[i];
    r.price = prices[i];
    r.morningPrice = early[i];
    r.startPrice = starting[i];
    r.spOnPage = !rng.Chance(0.06);
    r.matched = std::llround(race.eventMatched * weights[i] / total * rng.Real(0.85, 1.0));
    r.placeMatched =
        std::llround(race.placeEventMatched * placeWeights[i] / placeTotal * rng.Real(0.7, 1.0));
    r.thousandWithSeparator = r.price >= 1000;
    // An outsider nobody has backed yet.
    if (r.price > 60 && rng.Chance(0.25)) {
      r.price = 0;
      r.matched = 0;
    }
    r.placePrice = r.price == 0 ? 0 : SnapPrice(1 + (r.price - 1) / rng.Real(3.5, 5.0));
  }
}

void RunRace(Rng& rng, Race& race) {
  if (race.abandoned) return;
  std::vector<Runner*> left = Running(race);
  for (int pos = 1; pos <= 4 && !left.empty(); ++pos) {
    double total = 0;
    for (const Runner* r : left) total += r->chance;
    double pick = rng.Real() * total;
    std::size_t k = 0;
    for (; k + 1 < left.size(); ++k) {
      pick -= left[k]->chance;
      if (pick < 0) break;
    }
    left[k]->finish = pos;
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
  }
}

}  // namespace trotix::vendorsim
