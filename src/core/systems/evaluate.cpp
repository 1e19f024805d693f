#include "systems/evaluate.h"

#include <algorithm>
#include <cstdio>

#include "text/strings.h"

namespace trotix::systems {
namespace {

bool SameRace(const RunnerParts& a, const RunnerParts& b) {
  return a.day == b.day && a.time == b.time && a.course == b.course;
}

// Minutes of "hh:mm"; none for anything else.
std::optional<int> Minutes(const std::string& text) {
  int h = 0, m = 0;
  if (std::sscanf(text.c_str(), "%d:%d", &h, &m) != 2) return std::nullopt;
  return h * 60 + m;
}

bool Listed(const std::vector<std::string>& list, const std::string& value) {
  const std::string key = Upper(Trim(value));
  for (const std::string& item : list)
    if (Upper(Trim(item)) == key) return true;
  return false;
}

bool RunnerQualifies(const RunnerParts& row, const Rule& rule) {
  if (rule.priceMin > 0 && (!row.price || *row.price < rule.priceMin)) return false;
  if (rule.priceMax > 0 && (!row.price || *row.price > rule.priceMax)) return false;
  for (int i = 0; i < kPartCount; ++i)
    if (rule.partMin[i] && row.parts[i] < *rule.partMin[i]) return false;
  return true;
}

std::string PointsText(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%+.1f %%", v * 100);
  return buf;
}

}  // namespace

proof::Result ResultOf(PickResult r) {
  switch (r) {
    case PickResult::kWon:
      return proof::Result::kWon;
    case PickResult::kPlaced:
      return proof::Result::kPlaced;
    case PickResult::kUnplaced:
      return proof::Result::kUnplaced;
    case PickResult::kVoid:
      return proof::Result::kVoid;
    case PickResult::kUnsettled:
      break;
  }
  return proof::Result::kPending;
}

void SortRows(std::vector<RunnerParts>& rows) {
  std::sort(rows.begin(), rows.end(), [](const RunnerParts& a, const RunnerParts& b) {
    return std::tie(a.day, a.time, a.course, a.order) < std::tie(b.day, b.time, b.course, b.order);
  });
}

double WeightedSum(const PartValues& parts, const PartValues& weights) {
  double sum = 0;
  for (int i = 0; i < kPartCount; ++i) sum += weights[i] * parts[i];
  return sum;
}

bool RaceQualifies(std::span<const RunnerParts> race, const Rule& rule) {
  if (race.empty()) return false;
  const RunnerParts& first = race.front();
  if (!rule.courses.empty() && !Listed(rule.courses, first.course)) return false;
  if (!rule.classes.empty() && !Listed(rule.classes, first.raceClass)) return false;
  if (rule.runnersMin > 0 || rule.runnersMax > 0) {
    // The card's count once joined; before that, the runners analysed.
    int runners = first.runners;
    if (runners == 0)
      runners = static_cast<int>(
          std::count_if(race.begin(), race.end(), [](const auto& r) { return !r.nonRunner; }));
    if (runners < rule.runnersMin) return false;
    if (rule.runnersMax > 0 && runners > rule.runnersMax) return false;
  }
  if (!rule.timeFrom.empty() || !rule.timeTo.empty()) {
    const auto at = Minutes(Trim(first.time));
    if (!at) return false;
    if (const auto from = Minutes(rule.timeFrom); from && *at < *from) return false;
    if (const auto to = Minutes(rule.timeTo); to && *at > *to) return false;
  }
  return true;
}

std::vector<const RunnerParts*> SelectInRace(std::span<const RunnerParts> race, const Rule& rule) {
  struct Ranked {
    const RunnerParts* row;
    double sum;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(race.size());
  for (const RunnerParts& row : race)
    if (!row.nonRunner) ranked.push_back({&row, WeightedSum(row.parts, rule.weights)});
  std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return a.sum != b.sum ? a.sum > b.sum : a.row->order > b.row->order;
  });
  std::vector<const RunnerParts*> picks;
  switch (rule.select) {
    case Select::kTop:
      for (std::size_t i = 0; i < ranked.size() && i < static_cast<std::size_t>(rule.selectValue);
           ++i)
        picks.push_back(ranked[i].row);
      break;
    case Select::kAtLeast:
      for (const Ranked& r : ranked)
        if (r.sum >= rule.selectValue) picks.push_back(r.row);
      break;
    case Select::kLeadBy:
      // A lone runner leads a field of one by any margin.
      if (!ranked.empty() &&
          (ranked.size() == 1 || ranked[0].sum - ranked[1].sum >= rule.selectValue))
        picks.push_back(ranked[0].row);
      break;
  }
  std::erase_if(picks, [&](const RunnerParts* p) { return !RunnerQualifies(*p, rule); });
  return picks;
}

std::vector<const RunnerParts*> SelectPicks(std::span<const RunnerParts> rows, const Rule& rule,
                                            std::optional<Date> from, std::optional<Date> to) {
  std::vector<const RunnerParts*> picks;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t end = i + 1;
    while (end < rows.size() && SameRace(rows[i], rows[end])) ++end;
    const auto race = rows.subspan(i, end - i);
    i = end;
    const Date& day = race.front().day;
    if ((from && day < *from) || (to && *to < day) || race.front().late) continue;
    if (!RaceQualifies(race, rule)) continue;
    for (const RunnerParts* p : SelectInRace(race, rule)) picks.push_back(p);
  }
  return picks;
}

proof::Bet BetOf(const RunnerParts& row, const std::string& method) {
  proof::Bet bet;
  bet.date = row.day;
  bet.time = row.time;
  bet.course = row.course;
  bet.runner = row.runner;
  bet.method = method;
  bet.price = row.price;
  bet.result = ResultOf(row.result);
  bet.sp = row.sp;
  bet.raceClass = row.raceClass;
  bet.runners = row.runners;
  return bet;
}

TestFigures Figures(const std::vector<const RunnerParts*>& picks, const std::string& method,
                    double commission) {
  TestFigures out;
  out.bets.reserve(picks.size());
  for (const RunnerParts* p : picks) {
    out.bets.push_back(BetOf(*p, method));
    if (out.bets.back().result == proof::Result::kPending) ++out.pending;
  }
  out.figures = proof::Figures(out.bets, {commission});
  out.figures.method = method;
  return out;
}

SplitFigures SplitTest(std::span<const RunnerParts> rows, const Rule& rule,
                       const std::string& method, const Date& split, double commission,
                       std::optional<Date> from, std::optional<Date> to) {
  const auto picks = SelectPicks(rows, rule, from, to);
  std::vector<const RunnerParts*> in, out;
  for (const RunnerParts* p : picks) (p->day < split ? in : out).push_back(p);
  SplitFigures s;
  s.inSample = Figures(in, method, commission);
  s.outOfSample = Figures(out, method, commission);
  s.warning = OverfitWarning(s.inSample.figures, s.outOfSample.figures);
  return s;
}

std::string OverfitWarning(const proof::MethodFigures& in, const proof::MethodFigures& out) {
  if (in.bets < kFewestBets || out.bets < kFewestBets) return {};
  const bool roiDrop = out.roiSP < in.roiSP - kRoiDropPoints / 100;
  const bool strikeDrop = out.strikeRate < in.strikeRate * kStrikeShare;
  if (!roiDrop && !strikeDrop) return {};
  std::string text = "Out of sample";
  if (roiDrop) text += ", ROI " + PointsText(out.roiSP) + " against " + PointsText(in.roiSP);
  if (strikeDrop) {
    char buf[96];
    std::snprintf(buf, sizeof buf, ", strike rate %.1f %% against %.1f %%", out.strikeRate * 100,
                  in.strikeRate * 100);
    text += buf;
  }
  return text + ": the system may be fitted to the past.";
}

}  // namespace trotix::systems
