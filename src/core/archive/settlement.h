#pragma once
// A pick against its day's results: won, placed (2nd-3rd), unplaced or void, with the starting
// price of a runner in the first four. Pure: texts in, verdicts out.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/day_archive.h"
#include "net/stop_signal.h"

namespace trotix {

// The name a runner is matched by: upper case, without apostrophes and the spaces around. The
// race card drops apostrophes and the results keep them, so "King's Meadow" = "Kings Meadow".
std::string RunnerKey(std::string_view name);
// A name as the results write it ("3 King's Meadow"): the saddle-cloth number in front goes too.
std::string ResultRunnerKey(std::string_view name);

struct Finisher {
  std::string name;          // as the results write it
  std::optional<double> sp;  // none for "-"
};

struct RaceResult {
  std::string time, course;
  std::vector<Finisher> first;  // the first four in order; an empty name for a place nobody took
};

// The races of a results answer, as the "Result" page reads them.
std::vector<RaceResult> ParseResults(std::string_view answer);

struct CardRunner {
  std::string name;
  bool runs = true;  // false for a non-runner ("NR")
};

struct RaceCardText {
  std::vector<CardRunner> runners;
  // False when a runner record of the race is not closed: a runner missing from `runners` may
  // be in it, so its absence proves nothing.
  bool whole = true;
};

// The races of a day's text (the sign-in answer), read in one pass; each race's fields and
// runners come from its own record only, an unclosed race is no race. Keeps views into the text.
class DayCards {
 public:
  explicit DayCards(std::string_view dayText);
  // The card of the race at `time` and `course` (the first such race; spaces around and the
  // course's case do not matter); none when the day holds no such race.
  std::optional<RaceCardText> Find(std::string_view time, std::string_view course) const;

 private:
  std::map<std::pair<std::string, std::string>, std::string_view> races_;
};

// The card of one race of the day's text; DayCards reads a day once for many races.
std::optional<RaceCardText> RaceCard(std::string_view dayText, std::string_view time,
                                     std::string_view course);

struct Verdict {
  PickResult result = PickResult::kUnsettled;
  int position = 0;
  std::optional<double> sp;
};

// The verdict on `pick` from its day's results and race day text. None while the results cannot
// tell: no results at all, or its race missing from them, unless the day is over and an earlier
// fetch on a later day already missed it (`missedBefore`): a results page can be incomplete for
// a while, so the race is void only when a second look still lacks it ("no result"). A runner
// not running in a finished race (absent from its whole card, or a non-runner), and an abandoned
// race (listed without a finisher), are void. Without a card the runner is taken as running.
std::optional<Verdict> SettlePick(const Pick& pick, const std::vector<RaceResult>& results,
                                  std::string_view dayText, bool dayOver,
                                  bool missedBefore = false);
std::optional<Verdict> SettlePick(const Pick& pick, const std::vector<RaceResult>& results,
                                  const DayCards& cards, bool dayOver, bool missedBefore = false);
// Whether the results list the race of `pick`.
bool ResultsHoldRace(const std::vector<RaceResult>& results, const Pick& pick);
// Whether `misses` holds the race of `pick`, first missed on a day before `today`.
bool MissedBefore(const std::vector<RaceMiss>& misses, const Pick& pick, const Date& today);
// Every pick of one day the results decide, with its verdict; the others are left out. A raised
// `stop` ends it early with the picks settled so far, which the caller then drops.
std::vector<Pick> SettleDay(const std::vector<Pick>& picks, const std::vector<RaceResult>& results,
                            std::string_view dayText, bool dayOver,
                            const StopSignal* stop = nullptr,
                            const std::vector<RaceMiss>& misses = {}, const Date& today = {});

}  // namespace trotix
