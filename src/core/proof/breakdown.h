#pragma once
// A method's figures split by one trait of its picks: the price when picked, the course, the
// month, the race class or the field size. Every settled bet falls in exactly one group.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "proof/stats.h"

namespace trotix::proof {

enum class Breakdown { kBand, kCourse, kMonth, kClass, kRunners };

// "band", "course", "month", "class", "runners".
const char* BreakdownName(Breakdown by);
std::optional<Breakdown> BreakdownOfName(std::string_view name);

// The group a bet falls in: "under 2", "2-4", "4-8", "8-16", "16-32", "32 and over" or
// "no price" by price when picked; the course; "11.2026"; the class or "unknown"; "up to 7",
// "8-11", "12-15", "16 and over" or "unknown" runners.
std::string GroupOf(const Bet& bet, Breakdown by);

struct GroupFigures {
  std::string group;
  std::vector<MethodFigures> methods;  // by method name
};

// The figures of each group, in the order of prices, months and field sizes, or by name.
std::vector<GroupFigures> FiguresByGroup(const std::vector<Bet>& bets, Breakdown by,
                                         const Options& options = {});

}  // namespace trotix::proof
