// "Settle": every unsettled pick of the ledger against its day's results.

#include "app/session.h"
#include "archive/request_key.h"
#include "archive/settlement.h"

namespace trotix {
namespace {

std::string SettleMessage(const SettleSummary& s) {
  if (s.picks == 0) return "No picks to settle";
  std::string text = "Settled " + std::to_string(s.settled) + " of " + std::to_string(s.picks) +
                     " picks: " + std::to_string(s.won) + " won, " + std::to_string(s.placed) +
                     " placed, " + std::to_string(s.unplaced) + " unplaced, " +
                     std::to_string(s.voided) + " void.";
  if (!s.failedDays.empty()) {
    text += " No results for";
    for (const auto& day : s.failedDays) text += " " + day;
    text += ".";
  }
  return text;
}

}  // namespace

SettleSummary Session::Settle() {
  Command command(*this);
  const Deadline deadline(*this);
  SettleSummary summary;
  DayArchive* archive = ports_.archive;
  if (!archive) {
    ports_.messages.Show("The archive is off: there are no picks to settle");
    return summary;
  }
  // By day: one results request per day.
  const std::vector<Pick> open = archive->UnsettledPicks();
  std::vector<Date> days;
  for (const Pick& p : open)
    if (days.empty() || !(days.back() == p.day)) days.push_back(p.day);
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
  std::vector<Pick> settled;
  std::size_t p = 0;
  for (std::size_t d = 0; d < days.size() && !stop_.stopped(); ++d) {
    const Date& day = days[d];
    const std::size_t first = p;
    while (p < open.size() && open[p].day == day) ++p;
    if (answers[d].failed) {
      // Nothing is judged without the results; the picks wait for the next "Settle".
      summary.failedDays.push_back(FormatDate(day));
      continue;
    }
    const auto results = ParseResults(answers[d].body);
    const std::string dayText = archive->LastAnswer(day, dayKey);
    const std::vector<Pick> dayPicks(open.begin() + first, open.begin() + p);
    for (Pick& pick : SettleDay(dayPicks, results, dayText, day < today, &stop_)) {
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
      settled.push_back(std::move(pick));
    }
  }
  // Stopped while judging: nothing is written, every pick waits for the next "Settle".
  if (stop_.stopped()) {
    SayHowItEnded();
    return SettleSummary{summary.days, summary.picks};
  }
  archive->Settle(std::move(settled));
  ports_.messages.Show(SettleMessage(summary));
  return summary;
}

}  // namespace trotix
