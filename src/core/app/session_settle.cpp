// "Settle": every unsettled pick of the ledger against its day's results.

#include <algorithm>

#include "app/session.h"
#include "archive/request_key.h"
#include "archive/settlement.h"

namespace trotix {
namespace {

std::string SettleMessage(const SettleSummary& s) {
  if (s.picks == 0 && s.resettled == 0) return "No picks to settle";
  std::string text = "Settled " + std::to_string(s.settled) + " of " + std::to_string(s.picks) +
                     " picks: " + std::to_string(s.won) + " won, " + std::to_string(s.placed) +
                     " placed, " + std::to_string(s.unplaced) + " unplaced, " +
                     std::to_string(s.voided) + " void.";
  if (s.resettled > 0) text += " " + std::to_string(s.resettled) + " settled again.";
  if (!s.failedDays.empty()) {
    text += " No results for";
    for (const auto& day : s.failedDays) text += " " + day;
    text += ".";
  }
  return text;
}

}  // namespace

SettleSummary Session::Settle() {
  return AsCommand([&] { return SettleOpenDays(); });
}

SettleSummary Session::SettleOpenDays() {
  const Deadline deadline(*this);
  SettleSummary summary;
  DayArchive* archive = ports_.archive;
  if (!archive) {
    ports_.messages.Show("The archive is off: there are no picks to settle");
    return summary;
  }
  // By day: one results request per day, for the open picks and for the races a fetch missed.
  const std::vector<Pick> open = archive->UnsettledPicks();
  const std::vector<RaceMiss> misses = archive->RaceMisses();
  std::vector<Date> days;
  for (const Pick& p : open) days.push_back(p.day);
  for (const RaceMiss& m : misses) days.push_back(m.day);
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  summary.days = static_cast<int>(days.size());
  summary.picks = static_cast<int>(open.size());

  std::vector<HttpAnswer> answers;
  if (!days.empty()) {
    std::vector<std::string> urls;
    for (const Date& day : days) urls.push_back(urls_.Results(FormatDate(day)));
    Progress& progress = ports_.progress;
    const int count = static_cast<int>(urls.size());
    progress.SetGauge(Progress::kPr, 0, count);
    progress.ShowPanel(true);
    int answered = 0;
    answers = ports_.web.GetMany(
        urls, options_.maxConnections,
        [&](int, const HttpAnswer&) { progress.SetGauge(Progress::kPr, ++answered, count); },
        &stop_);
    progress.ShowPanel(false);
  }
  // Stopped, nothing is settled: every pick waits for the next "Settle".
  if (stop_.stopped()) {
    SayHowItEnded();
    return summary;
  }

  const RequestKey dayKey = RequestKeyOf(urls_.Login("", ""), options_.hosts, false);
  const Date today = ports_.clock.Today();
  const std::string at = UtcText(ports_.clock.Utc());
  // Every pick of a fetched day is judged again: later results may say otherwise.
  const std::vector<Pick> ledger = days.empty() ? std::vector<Pick>() : archive->Picks();
  std::vector<Pick> settled;
  std::vector<RaceMiss> missing, found;
  for (std::size_t d = 0; d < days.size() && !stop_.stopped(); ++d) {
    const Date& day = days[d];
    if (answers[d].failed) {
      // Nothing is judged without the results; the picks wait for the next "Settle".
      summary.failedDays.push_back(FormatDate(day));
      continue;
    }
    const auto results = ParseResults(answers[d].body);
    std::vector<Pick> dayPicks;
    for (const Pick& p : ledger)
      if (p.day == day && !p.withdrawn) dayPicks.push_back(p);
    for (const RaceMiss& m : misses) {
      Pick race;
      race.day = m.day;
      race.time = m.time;
      race.course = m.course;
      if (m.day == day && ResultsHoldRace(results, race)) found.push_back(m);
    }
    const bool dayOver = day < today;
    if (!results.empty() && dayOver)
      for (const Pick& p : dayPicks)
        if (p.result == PickResult::kUnsettled && !ResultsHoldRace(results, p))
          missing.push_back({day, p.time, p.course, today});
    const std::string dayText = archive->LastAnswer(day, dayKey);
    for (Pick& pick : SettleDay(dayPicks, results, dayText, dayOver, &stop_, misses, today)) {
      const auto before = std::find_if(dayPicks.begin(), dayPicks.end(), [&](const Pick& p) {
        return p.time == pick.time && p.course == pick.course && p.runner == pick.runner &&
               p.system == pick.system && p.runId == pick.runId && p.source == pick.source;
      });
      if (before != dayPicks.end() && before->result != PickResult::kUnsettled) {
        if (before->result == pick.result && before->position == pick.position &&
            PriceText(before->sp) == PriceText(pick.sp))
          continue;
        ++summary.resettled;
      } else {
        ++summary.settled;
        switch (pick.result) {
          case PickResult::kWon:
            ++summary.won;
            break;
          case PickResult::kPlaced:
            ++summary.placed;
            break;
          case PickResult::kUnplaced:
            ++summary.unplaced;
            break;
          case PickResult::kVoid:
          case PickResult::kUnsettled:
            ++summary.voided;
            break;
        }
      }
      pick.settled = at;
      settled.push_back(std::move(pick));
    }
  }
  // Stopped while judging: nothing is written, every pick waits for the next "Settle".
  if (stop_.stopped()) {
    SayHowItEnded();
    SettleSummary stopped;
    stopped.days = summary.days;
    stopped.picks = summary.picks;
    return stopped;
  }
  archive->Settle(std::move(settled));
  archive->NoteRaceMisses(std::move(missing), std::move(found));
  ports_.messages.Show(SettleMessage(summary));
  return summary;
}

}  // namespace trotix
