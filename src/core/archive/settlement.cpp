#include "archive/settlement.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "feeds/feeds.h"
#include "model/columns.h"
#include "model/prices.h"
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
  return RealPrice(ParseDecimal(ReplaceText(Trim(text), ".", ",")));
}

constexpr std::array<std::string_view, 2> kRaceKeyTags = {"course", "time"};
constexpr std::array<std::string_view, 2> kRunnerTags = {"number", "name_horse"};

// Races are matched as the results are: time and course without the spaces around, any case.
std::pair<std::string, std::string> RaceKey(std::string_view time, std::string_view course) {
  return {Trim(time), CourseKey(course)};
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

DayCards::DayCards(std::string_view dayText) {
  TagRecords races(dayText, "zabeg");
  while (const auto body = races.Next()) {
    const auto [course, time] = TagViews(*body, kRaceKeyTags);
    races_.try_emplace(RaceKey(time, course), *body);
  }
}

std::optional<RaceCardText> DayCards::Find(std::string_view time, std::string_view course) const {
  const auto found = races_.find(RaceKey(time, course));
  if (found == races_.end()) return std::nullopt;
  RaceCardText card;
  TagRecords runners(found->second, "horse");
  while (const auto runner = runners.Next()) {
    const auto [number, name] = TagViews(*runner, kRunnerTags);
    card.runners.push_back({std::string(name), Upper(Trim(number)) != "NR"});
  }
  card.whole = runners.skipped() == 0;
  return card;
}

std::optional<RaceCardText> RaceCard(std::string_view dayText, std::string_view time,
                                     std::string_view course) {
  return DayCards(dayText).Find(time, course);
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
                                  const DayCards& cards, bool dayOver, bool missedBefore) {
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
  if (const auto card = cards.Find(pick.time, pick.course)) {
    std::optional<bool> runs;
    for (const CardRunner& r : card->runners)
      if (RunnerKey(r.name) == runner) runs = r.runs;
    if (runs ? !*runs : card->whole) return Verdict{PickResult::kVoid, 0, std::nullopt};
  }
  return Verdict{PickResult::kUnplaced, 0, std::nullopt};
}

std::optional<Verdict> SettlePick(const Pick& pick, const std::vector<RaceResult>& results,
                                  std::string_view dayText, bool dayOver, bool missedBefore) {
  return SettlePick(pick, results, DayCards(dayText), dayOver, missedBefore);
}

std::vector<Pick> SettleDay(const std::vector<Pick>& picks, const std::vector<RaceResult>& results,
                            std::string_view dayText, bool dayOver, const StopSignal* stop,
                            const std::vector<RaceMiss>& misses, const Date& today) {
  std::vector<Pick> settled;
  if (results.empty()) return settled;
  const DayCards cards(dayText);
  for (const Pick& open : picks) {
    if (stop && stop->stopped()) break;
    const auto verdict =
        SettlePick(open, results, cards, dayOver, MissedBefore(misses, open, today));
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
