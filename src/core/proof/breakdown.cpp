#include "proof/breakdown.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace trotix::proof {
namespace {

struct Band {
  double below;
  const char* name;
};
constexpr std::array<Band, 6> kBands{
    {{2, "under 2"}, {4, "2-4"}, {8, "4-8"}, {16, "8-16"}, {32, "16-32"}, {1e300, "32 and over"}}};
constexpr std::array<Band, 4> kFields{
    {{8, "up to 7"}, {12, "8-11"}, {16, "12-15"}, {1e300, "16 and over"}}};

// Where a bet's group stands among the others, then its name.
std::pair<long long, std::string> KeyOf(const Bet& bet, Breakdown by) {
  const auto band = [](const auto& bands, double value) {
    for (std::size_t i = 0; i < bands.size(); ++i)
      if (value < bands[i].below) return std::pair<long long, std::string>(i, bands[i].name);
    return std::pair<long long, std::string>(bands.size(), bands.back().name);
  };
  switch (by) {
    case Breakdown::kBand:
      if (!bet.price) return {kBands.size(), "no price"};
      return band(kBands, *bet.price);
    case Breakdown::kCourse:
      return {0, bet.course};
    case Breakdown::kMonth: {
      const std::string month = FormatDate(bet.date).substr(3);  // "mm.yyyy"
      return {bet.date.year * 12LL + bet.date.month, month};
    }
    case Breakdown::kClass:
      if (bet.raceClass.empty()) return {1, "unknown"};
      return {0, bet.raceClass};
    case Breakdown::kRunners:
      if (bet.runners <= 0) return {kFields.size(), "unknown"};
      return band(kFields, bet.runners);
  }
  return {0, {}};
}

}  // namespace

const char* BreakdownName(Breakdown by) {
  switch (by) {
    case Breakdown::kCourse:
      return "course";
    case Breakdown::kMonth:
      return "month";
    case Breakdown::kClass:
      return "class";
    case Breakdown::kRunners:
      return "runners";
    case Breakdown::kBand:
      break;
  }
  return "band";
}

std::optional<Breakdown> BreakdownOfName(std::string_view name) {
  for (Breakdown by : {Breakdown::kBand, Breakdown::kCourse, Breakdown::kMonth, Breakdown::kClass,
                       Breakdown::kRunners})
    if (name == BreakdownName(by)) return by;
  return std::nullopt;
}

std::string GroupOf(const Bet& bet, Breakdown by) {
  return KeyOf(bet, by).second;
}

std::vector<GroupFigures> FiguresByGroup(const std::vector<Bet>& bets, Breakdown by,
                                         const Options& options) {
  std::map<std::pair<long long, std::string>, std::vector<Bet>> groups;
  for (const Bet& bet : bets) groups[KeyOf(bet, by)].push_back(bet);
  std::vector<GroupFigures> out;
  for (auto& [key, members] : groups) {
    GroupFigures g{key.second, FiguresByMethod(members, options)};
    std::sort(g.methods.begin(), g.methods.end(),
              [](const auto& a, const auto& b) { return a.method < b.method; });
    out.push_back(std::move(g));
  }
  return out;
}

}  // namespace trotix::proof
