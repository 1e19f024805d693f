#include "vendorsim/generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"
#include "vendorsim/field.h"
#include "vendorsim/race_shapes.h"
#include "vendorsim/rng.h"
#include "vendorsim/words.h"

namespace trotix::vendorsim {

std::string PriceText(double price) {
  return FormatFixedWith(price, 2, '.');
}

std::string Thousands(long long amount) {
  std::string digits = std::to_string(amount < 0 ? -amount : amount);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return amount < 0 ? "-" + out : out;
}

namespace {

// Meetings called off, of all meetings.
constexpr double kAbandonedRate = 0.02;
// How far the tipsters' view of a runner is from its ability.
constexpr double kTipsterError = 0.6;

std::string Clock(int minutes) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d", minutes / 60, minutes % 60);
  return buf;
}

bool IsAllWeather(std::string_view course) {
  return course == "Wolverhampton" || course == "Kempton" || course == "Lingfield" ||
         course == "Dundalk" || course == "Meydan";
}

// Countries whose races the exchange does not list, so they are missing from the indicator file.
bool ExchangeSkips(std::string_view country) {
  return country == "India" || country == "Japan" || country == "Chile" || country == "Germany";
}

// A kind of race for the meeting's code, as often as it is run.
const RaceShape& PickShape(Rng& rng, bool jumps) {
  const std::vector<RaceShape>& shapes = RaceShapes();
  double total = 0;
  for (const RaceShape& s : shapes)
    if (s.jumps == jumps) total += s.weight;
  double pick = rng.Real() * total;
  for (const RaceShape& s : shapes) {
    if (s.jumps != jumps) continue;
    pick -= s.weight;
    if (pick < 0) return s;
  }
  return shapes.front();
}

std::string RaceClass(Rng& rng, const RaceShape& shape) {
  if (shape.raceClass == "Group") return "Group " + std::to_string(rng.Int(1, 3));
  if (!shape.raceClass.empty()) return shape.raceClass;
  return "Class " + std::to_string(rng.Int(1, 6));
}

std::string WithoutApostrophes(const std::string& s) {
  return ReplaceText(s, "'", "");
}

}  // namespace

Day GenerateDay(uint64_t seed, const Date& date, int raceCount) {
  raceCount = std::clamp(raceCount, 1, 300);
  Day day;
  day.date = date;
  Rng rng = Rng::For(seed, HashText(FormatDate(date)), static_cast<uint64_t>(raceCount));
  const std::vector<Course>& courses = Courses();
  const WordLists& w = Words();

  // Meetings: an English and an Irish one always, the rest from anywhere.
  std::vector<int> order;
  for (std::size_t i = 0; i < courses.size(); ++i) order.push_back(static_cast<int>(i));
  rng.Shuffle(order);
  auto front = [&](std::string_view country, std::size_t at) {
    const auto it = std::find_if(order.begin() + static_cast<std::ptrdiff_t>(at), order.end(),
                                 [&](int c) { return courses[c].country == country; });
    std::iter_swap(order.begin() + static_cast<std::ptrdiff_t>(at), it);
  };
  front("England", 0);
  front("Ireland", 1);
  const int meetings =
      std::clamp((raceCount + 4) / 5, std::min(raceCount, 3), static_cast<int>(courses.size()));
  std::vector<int> perMeeting(meetings, 1);
  for (int i = meetings; i < raceCount; ++i) ++perMeeting[rng.Int(0, meetings - 1)];

  std::set<std::string> usedNames;
  int firstStart = 0;
  for (int m = 0; m < meetings; ++m) {
    const Course& course = courses[order[m]];
    const int n = perMeeting[m];
    const int gap = n > 1 ? std::clamp(750 / (n - 1) / 5 * 5, 5, 35) : 30;
    const int latest = std::max(11 * 60, 23 * 60 + 30 - (n - 1) * gap);
    int start = 11 * 60 + rng.Int(0, (latest - 11 * 60) / 5) * 5;
    // Two courses start together, so some races share their time with another course.
    if (m == 0) firstStart = start;
    if (m == 1) start = std::min(firstStart, latest);
    const bool jumps = course.country == "England" || course.country == "Ireland";
    const bool flat = !jumps || IsAllWeather(course.dayName) || rng.Chance(0.5);
    // Frost, waterlogging or fog: the meeting is called off after the cards were out.
    const bool abandoned = rng.Chance(kAbandonedRate);
    if (abandoned) day.quirks.push_back("the meeting at " + course.dayName + " is abandoned");
    for (int i = 0; i < n; ++i) {
      Race race;
      race.courseIndex = order[m];
      race.course = course.dayName;
      race.country = course.country;
      race.time = Clock(start + i * gap);
      const RaceShape& shape = PickShape(rng, !flat);
      race.name = rng.Pick(w.sponsors) + " " + shape.kind;
      race.winner = "BJ" + std::to_string(rng.Int(25, 2500) * 100);
      race.distance = rng.Pick(w.distances);
      race.going = IsAllWeather(course.dayName) ? rng.Pick(w.goingsAllWeather) : rng.Pick(w.goings);
      race.raceClass = RaceClass(rng, shape);
      // Some names carry their class in brackets, which the Zorvat label cuts off.
      if (race.raceClass.starts_with("Class") && rng.Chance(0.3))
        race.name += " (" + race.raceClass + ")";
      race.abandoned = abandoned;
      DrawField(rng, race, shape, usedNames);
      PriceRace(rng, race);
      RunRace(rng, race);
      day.races.push_back(std::move(race));
    }
  }
  std::stable_sort(day.races.begin(), day.races.end(), [](const Race& a, const Race& b) {
    return a.time != b.time ? a.time < b.time : a.course < b.course;
  });

  // The exchange's ids. Markets count up through the day; the place market follows its win market.
  long long market = 200000000ll + rng.Int(0, 30000000);
  std::set<long long> selections;
  int listed = 0;
  for (std::size_t i = 0; i < day.races.size(); ++i) {
    Race& race = day.races[i];
    const bool skip = ExchangeSkips(race.country) || (i % 7 == 3 && rng.Chance(0.5));
    if (skip) continue;
    ++listed;
    market += rng.Int(3, 40) * 2;
    race.winMarket = std::to_string(market);
    race.placeMarket = std::to_string(market + 1);
    for (Runner& r : race.runners) {
      if (r.nonRunner()) continue;
      long long id;
      do id = rng.Int(1000000, 39999999);
      while (!selections.insert(id).second);
      r.selectionId = std::to_string(id);
      // The exchange writes names without apostrophes.
      r.exchangeName = WithoutApostrophes(r.name);
    }
  }
  // Deliberate differences between the feeds, so the matching rules are exercised.
  if (listed == static_cast<int>(day.races.size()) && day.races.size() > 1) {
    Race& last = day.races.back();
    last.winMarket.clear();
    last.placeMarket.clear();
    for (Runner& r : last.runners) {
      r.selectionId.clear();
      r.exchangeName.clear();
    }
    day.quirks.push_back("race " + last.time + " " + last.course + " is not on the exchange");
  }
  for (Race& race : day.races) {
    if (!race.onExchange()) continue;
    bool kept = false;
    for (Runner& r : race.runners) {
      if (r.onExchange() && r.name.find('\'') != std::string::npos) {
        r.exchangeName = r.name;
        day.quirks.push_back("indicator file keeps the apostrophe of " + r.name);
        kept = true;
        break;
      }
    }
    if (kept) break;
  }
  for (Race& race : day.races) {
    if (!race.onExchange() || race.runners.size() < 3) continue;
    for (Runner& r : race.runners)
      if (r.onExchange()) r.exchangeName = Upper(r.exchangeName);
    day.quirks.push_back("indicator file writes the runners of " + race.time + " " + race.course +
                         " in capitals");
    break;
  }

  // Tips: most races get a selection, some two or three, in the order of the tipsters' view of
  // the runners declared when they made it (which may name a runner withdrawn since).
  for (const Race& race : day.races) {
    if (!rng.Chance(0.65)) continue;
    std::vector<std::pair<double, const Runner*>> view;
    for (const Runner& r : race.runners)
      if (!r.nonRunner() || r.lateNonRunner)
        view.emplace_back(r.ability - r.onTheDay + kTipsterError * rng.Normal(), &r);
    std::stable_sort(view.begin(), view.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    const int tips = std::min<int>(rng.Int(1, 3), static_cast<int>(view.size()));
    for (int t = 0; t < tips; ++t)
      day.tips.push_back({race.course, race.time, view[t].second->name, std::to_string(t + 1)});
  }
  if (!day.tips.empty()) {
    Tip again = day.tips.front();
    again.place = "3";
    day.tips.push_back(again);
    day.quirks.push_back("tips name " + again.name + " twice");
  }

  // Moves: the runners with a price, against the price first shown that morning.
  bool spaced = false, odd = false;
  for (const Race& race : day.races) {
    for (const Runner& r : race.runners) {
      if (r.price <= 0 || r.price >= 1000 || r.morningPrice >= 1000 || !rng.Chance(0.45)) continue;
      Move m;
      m.course = race.course;
      if (rng.Chance(0.1) || !spaced) {
        m.course = " " + race.course + "  ";
        spaced = true;
      }
      m.time = race.time;
      m.name = r.name;
      const double first = r.morningPrice;
      m.kf1 = PriceText(r.price);
      m.kf2 = PriceText(first);
      const long long pct = std::llround((r.price - first) / first * 100);
      m.precent = std::to_string(pct);
      if (rng.Chance(0.04) || (!odd && rng.Chance(0.3))) {
        m.precent = rng.Chance(0.5) ? "n/a" : PriceText((r.price - first) / first * 100);
        odd = true;
      }
      day.moves.push_back(std::move(m));
    }
  }
  if (spaced) day.quirks.push_back("moves feed pads some course names with spaces");
  if (odd) day.quirks.push_back("moves feed has a movement that is not a whole number");
  return day;
}

}  // namespace trotix::vendorsim
