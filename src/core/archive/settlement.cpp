#include "archive/settlement.h"

#include <algorithm>
#include <cctype>

#include "feeds/feeds.h"
#include "model/columns.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

std::string CourseKey(std::string_view course) {
  return Upper(Trim(course));
}

std::optional<double> PriceOf(std::string_view text) {
  // The results write prices with a point.
  const auto value = ParseDecimal(ReplaceText(Trim(text), ".", ","));
  if (!value || *value <= 1) return std::nullopt;
  return value;
}

const RaceResult* FindRace(const std::vector<RaceResult>& results, const Pick& pick) {
  for (const RaceResult& race : results)
    if (Trim(race.time) == Trim(pick.time) && CourseKey(race.course) == CourseKey(pick.course))
      return &race;
  return nullptr;
}

}  // namespace

std::string RunnerKey(std::string_view name) {
  std::string out = Upper(name);
  out = ReplaceText(std::move(out), "'", "");
  out = ReplaceText(std::move(out), "\xE2\x80\x99", "");  // the typographic apostrophe
  return Trim(out);
}

std::string ResultRunnerKey(std::string_view name) {
  std::string_view rest = name;
  while (!rest.empty() && static_cast<unsigned char>(rest.front()) <= ' ') rest.remove_prefix(1);
  std::size_t digits = 0;
  while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits]))) ++digits;
  if (digits > 0 && digits < rest.size() && rest[digits] == ' ') rest.remove_prefix(digits);
  return RunnerKey(rest);
}

std::vector<RaceResult> ParseResults(std::string_view answer) {
  Workspace ws;
  LoadResults(ws, answer);
  std::vector<RaceResult> races;
  for (int r = 0; r < ws.REZ.RowCount(); ++r) {
    RaceResult race{ws.REZ.Text(r, rez::kTime), ws.REZ.Text(r, rez::kCourse), {}};
    for (int place = 0; place < 4; ++place) {
      const int col = rez::kNumber1 + 2 * place;
      race.first.push_back({ws.REZ.Text(r, col), PriceOf(ws.REZ.Text(r, col + 1))});
    }
    races.push_back(std::move(race));
  }
  return races;
}

std::optional<std::vector<CardRunner>> RaceCard(std::string_view dayText, std::string_view time,
                                                std::string_view course) {
  const std::string key =
      "<course>" + std::string(course) + "</course><time>" + std::string(time) + "</time>";
  const auto start = dayText.find(key);
  if (start == std::string_view::npos) return std::nullopt;
  const auto end = dayText.find("</zabeg>", start);
  std::string race(dayText.substr(start, end == std::string_view::npos ? end : end - start));
  std::vector<CardRunner> runners;
  while (Contains(race, "<horse>")) {
    const std::string runner = TagValue(race, "horse");
    CutPastTag(race, "<horse>");
    runners.push_back(
        {TagValue(runner, "name_horse"), Upper(Trim(TagValue(runner, "number"))) != "NR"});
  }
  return runners;
}

bool ResultsHoldRace(const std::vector<RaceResult>& results, const Pick& pick) {
  return FindRace(results, pick) != nullptr;
}

bool MissedBefore(const std::vector<RaceMiss>& misses, const Pick& pick, const Date& today) {
  for (const RaceMiss& m : misses)
    if (m.day == pick.day && Trim(m.time) == Trim(pick.time) &&
        CourseKey(m.course) == CourseKey(pick.course) && m.seen < today)
      return true;
  return false;
}

std::optional<Verdict> SettlePick(const Pick& pick, const std::vector<RaceResult>& results,
                                  std::string_view dayText, bool dayOver, bool missedBefore) {
  if (results.empty()) return std::nullopt;
  const RaceResult* race = FindRace(results, pick);
  if (race == nullptr) {
    if (!dayOver || !missedBefore) return std::nullopt;
    return Verdict{PickResult::kVoid, 0, std::nullopt};
  }
  const bool abandoned = std::all_of(race->first.begin(), race->first.end(),
                                     [](const Finisher& f) { return Trim(f.name).empty(); });
  if (abandoned) return Verdict{PickResult::kVoid, 0, std::nullopt};
  const std::string runner = RunnerKey(pick.runner);
  for (std::size_t i = 0; i < race->first.size(); ++i) {
    if (race->first[i].name.empty() || ResultRunnerKey(race->first[i].name) != runner) continue;
    const int position = static_cast<int>(i) + 1;
    const PickResult result = position == 1   ? PickResult::kWon
                              : position <= 3 ? PickResult::kPlaced
                                              : PickResult::kUnplaced;
    return Verdict{result, position, race->first[i].sp};
  }
  if (const auto card = RaceCard(dayText, pick.time, pick.course)) {
    bool runs = false;
    for (const CardRunner& r : *card)
      if (RunnerKey(r.name) == runner) runs = r.runs;
    if (!runs) return Verdict{PickResult::kVoid, 0, std::nullopt};
  }
  return Verdict{PickResult::kUnplaced, 0, std::nullopt};
}

std::vector<Pick> SettleDay(const std::vector<Pick>& picks, const std::vector<RaceResult>& results,
                            std::string_view dayText, bool dayOver,
                            const std::vector<RaceMiss>& misses, const Date& today) {
  std::vector<Pick> settled;
  for (const Pick& open : picks) {
    const auto verdict =
        SettlePick(open, results, dayText, dayOver, MissedBefore(misses, open, today));
    if (!verdict) continue;
    Pick pick = open;
    pick.result = verdict->result;
    pick.position = verdict->position;
    pick.sp = verdict->sp;
    settled.push_back(std::move(pick));
  }
  return settled;
}

}  // namespace trotix
