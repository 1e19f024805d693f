#include "vendorsim/generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"
#include "vendorsim/rng.h"
#include "vendorsim/words.h"

namespace trotix::vendorsim {

double SnapPrice(double p) {
  struct Band {
    double upTo, step;
  };
  static constexpr Band kBands[] = {{2, 0.01}, {3, 0.02}, {4, 0.05}, {6, 0.1}, {10, 0.2},
                                    {20, 0.5}, {30, 1},   {50, 2},   {100, 5}, {1000, 10}};
  p = std::clamp(p, 1.01, 1000.0);
  for (const Band& b : kBands) {
    if (p <= b.upTo) return std::min(b.upTo, std::round(p / b.step) * b.step);
  }
  return 1000;
}

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

std::string Form(Rng& rng) {
  const int len = rng.Int(0, 6);
  std::string form;
  for (int i = 0; i < len; ++i) {
    const double c = rng.Real();
    if (c < 0.72)
      form += static_cast<char>('0' + rng.Int(0, 9));
    else if (c < 0.82)
      form += "PFURB"[rng.Int(0, 4)];
    else if (i > 0 && form.back() != '-' && form.back() != '/')
      form += c < 0.93 ? '-' : '/';
    else
      form += static_cast<char>('1' + rng.Int(0, 8));
  }
  return form;
}

// A rating as the vendor sends it: digits mostly, sometimes "-", blank, something odd or no
// tag at all.
void Rating(Rng& rng, int value, std::string& text, bool& missing) {
  const double c = rng.Real();
  if (c < 0.07) {
    text = "-";
  } else if (c < 0.11) {
    text = "";
  } else if (c < 0.14) {
    missing = true;
  } else if (c < 0.15) {
    text = std::to_string(value) + "+";
  } else {
    text = std::to_string(value);
  }
}

void AddRunners(Rng& rng, Race& race, std::set<std::string>& usedNames, bool flat) {
  const double size = rng.Real();
  const int n = size < 0.1 ? rng.Int(2, 4) : size < 0.8 ? rng.Int(5, 14) : rng.Int(15, 20);
  race.count = std::to_string(n);
  const int base = rng.Int(45, 115);
  int nonRunners = 0;
  for (int i = 0; i < n; ++i) {
    Runner r;
    r.number = std::to_string(i + 1);
    if (n - nonRunners > 2 && rng.Chance(0.05)) {
      r.number = "NR";
      ++nonRunners;
    }
    r.name = HorseName(rng, usedNames);
    r.trainer = Person(rng);
    r.jockey = Person(rng);
    r.age = std::to_string(flat ? rng.Int(2, 7) : rng.Int(4, 12));
    if (race.country == "France" || race.country == "UAE" || race.country == "Hong Kong")
      r.weight = std::to_string(rng.Int(52, 62)) + (rng.Chance(0.3) ? ".5" : "");
    else
      r.weight = std::to_string(rng.Int(8, 11)) + "-" + std::to_string(rng.Int(0, 13));
    r.form = Form(rng);
    r.days = r.form.empty() && rng.Chance(0.7) ? "" : std::to_string(rng.Int(6, 380));
    const int ability = base + rng.Int(-20, 20);
    Rating(rng, ability, r.orText, r.orMissing);
    Rating(rng, ability + rng.Int(-25, 5), r.tsText, r.tsMissing);
    Rating(rng, ability + rng.Int(-8, 12), r.rprText, r.rprMissing);
    race.runners.push_back(std::move(r));
  }
}

// Prices of the runners that run: a favourite around 2-4 and a ladder behind it, handed out
// in a random order so that the price says nothing about the saddle cloth.
void PriceRace(Rng& rng, Race& race) {
  std::vector<Runner*> running;
  for (Runner& r : race.runners)
    if (!r.nonRunner()) running.push_back(&r);
  std::vector<double> prices;
  double p = rng.Real(1.8, 4.4);
  for (std::size_t i = 0; i < running.size(); ++i) {
    prices.push_back(SnapPrice(p));
    p *= rng.Real(1.08, 1.75);
  }
  if (running.size() >= 8 && rng.Chance(0.25)) prices.back() = 1000;
  rng.Shuffle(running);

  race.eventMatched = rng.Int(15, 2500) * 1000ll + rng.Int(0, 999);
  race.placeEventMatched = race.eventMatched * rng.Int(8, 20) / 100;
  double inverse = 0;
  for (double x : prices) inverse += 1 / x;
  for (std::size_t i = 0; i < running.size(); ++i) {
    Runner& r = *running[i];
    const double price = prices[i];
    const double share = (1 / price) / inverse;
    r.matched = std::llround(race.eventMatched * share * rng.Real(0.8, 1.0));
    r.placeMatched = std::llround(race.placeEventMatched * share * rng.Real(0.7, 1.0));
    r.price = price;
    r.thousandWithSeparator = price >= 1000;
    // An outsider nobody has backed yet.
    if (price > 15 && rng.Chance(0.12)) {
      r.price = 0;
      r.matched = 0;
    }
    r.startPrice = rng.Chance(0.08) ? 0 : SnapPrice(price * rng.Real(0.85, 1.15));
    r.placePrice = r.price == 0 ? 0 : SnapPrice(1 + (price - 1) / rng.Real(3.5, 5.0));
  }
}

// Finishing order: a weighted draw by the chance the price gives.
void RunRace(Rng& rng, Race& race) {
  std::vector<Runner*> left;
  for (Runner& r : race.runners)
    if (!r.nonRunner()) left.push_back(&r);
  for (int pos = 1; pos <= 4 && !left.empty(); ++pos) {
    double total = 0;
    for (Runner* r : left) total += 1 / (r->price > 0 ? r->price : 50);
    double pick = rng.Real() * total;
    std::size_t k = 0;
    for (; k + 1 < left.size(); ++k) {
      pick -= 1 / (left[k]->price > 0 ? left[k]->price : 50);
      if (pick < 0) break;
    }
    left[k]->finish = pos;
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
  }
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
    for (int i = 0; i < n; ++i) {
      Race race;
      race.courseIndex = order[m];
      race.course = course.dayName;
      race.country = course.country;
      race.time = Clock(start + i * gap);
      race.name = rng.Pick(w.sponsors) + " " + rng.Pick(w.raceKinds);
      race.winner = "BJ" + std::to_string(rng.Int(25, 2500) * 100);
      race.distance = rng.Pick(w.distances);
      race.going = IsAllWeather(course.dayName) ? rng.Pick(w.goingsAllWeather) : rng.Pick(w.goings);
      if (rng.Chance(0.15))
        race.raceClass = rng.Chance(0.5) ? "Listed" : "Group " + std::to_string(rng.Int(1, 3));
      else
        race.raceClass = "Class " + std::to_string(rng.Int(1, 6));
      // Some names carry their class in brackets, which the Zorvat label cuts off.
      if (race.raceClass.starts_with("Class") && rng.Chance(0.3))
        race.name += " (" + race.raceClass + ")";
      AddRunners(rng, race, usedNames, flat);
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

  // Tips: most races get a selection, some two or three.
  for (const Race& race : day.races) {
    if (!rng.Chance(0.65)) continue;
    std::vector<const Runner*> running;
    for (const Runner& r : race.runners)
      if (!r.nonRunner()) running.push_back(&r);
    std::stable_sort(running.begin(), running.end(), [](const Runner* a, const Runner* b) {
      return (a->price > 0 ? a->price : 5000) < (b->price > 0 ? b->price : 5000);
    });
    const int tips = std::min<int>(rng.Int(1, 3), static_cast<int>(running.size()));
    for (int t = 0; t < tips; ++t) {
      const Runner* r = running[std::min<std::size_t>(running.size() - 1, t + rng.Int(0, 2))];
      day.tips.push_back({race.course, race.time, r->name, std::to_string(t + 1)});
    }
  }
  if (!day.tips.empty()) {
    Tip again = day.tips.front();
    again.place = "3";
    day.tips.push_back(again);
    day.quirks.push_back("tips name " + again.name + " twice");
  }

  // Moves: the runners with a price, against the price first shown.
  bool spaced = false, odd = false;
  for (const Race& race : day.races) {
    for (const Runner& r : race.runners) {
      if (r.price <= 0 || r.price >= 1000 || !rng.Chance(0.45)) continue;
      Move m;
      m.course = race.course;
      if (rng.Chance(0.1) || !spaced) {
        m.course = " " + race.course + "  ";
        spaced = true;
      }
      m.time = race.time;
      m.name = r.name;
      const double first = SnapPrice(r.price * rng.Real(0.7, 1.45));
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
