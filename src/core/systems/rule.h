#pragma once
// A system of the user's own: weights for the eight parts of Summa, filters on the race and the
// runner, and how the runners are selected. Its file is JSON; every key may be left out and
// takes the default, which is Summa's leader (Best Recoming's pick).
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/runner_parts.h"

namespace trotix::systems {

// The parts' keys in the file ("rank", "bf", …) and their captions on Summa ("Rank", "BF %", …).
extern const std::array<const char*, kPartCount> kPartKeys;
extern const std::array<const char*, kPartCount> kPartCaptions;

enum class Select {
  kTop,      // the N runners with the highest weighted sums
  kAtLeast,  // every runner whose weighted sum is at least X
  kLeadBy,   // the leader, when it leads the second by at least Y
};

struct Rule {
  PartValues weights{1, 1, 1, 1, 1, 1, 1, 1};
  // Race filters; empty or 0 is no limit. Courses and classes compare without case; times are
  // "hh:mm" of the race card, inclusive.
  std::vector<std::string> courses, classes;
  int runnersMin = 0, runnersMax = 0;
  std::string timeFrom, timeTo;
  // Runner filters: the price when picked, inclusive (a runner without a price fails a limit),
  // and a least value for any part.
  double priceMin = 0, priceMax = 0;
  std::array<std::optional<double>, kPartCount> partMin{};
  Select select = Select::kTop;
  double selectValue = 1;
  bool operator==(const Rule&) const = default;
};

// The rule of a file, or why the file is none: each key checked, an unknown key refused (a typo
// would otherwise test another system than meant).
struct ParsedRule {
  std::optional<Rule> rule;
  std::string error;
};
ParsedRule ParseRule(std::string_view json);
// The file of a rule, every key written, indented.
std::string RuleJson(const Rule& rule);

}  // namespace trotix::systems
