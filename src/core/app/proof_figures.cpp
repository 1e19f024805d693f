#include "app/proof_figures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "model/prices.h"
#include "report/report_page.h"
#include "systems/evaluate.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

// With a point, whatever the machine's locale: CSV fields are separated by commas.
std::string PointFixed(double v, int decimals) {
  return FormatFixedWith(v, decimals, '.');
}

std::tuple<Date, std::string, std::string> FactsKey(const Date& day, std::string_view course,
                                                    std::string_view time) {
  return {day, Upper(Trim(course)), Trim(time)};
}

ProofSide SideOf(const std::vector<Pick>& ledger, PickFilter filter, const ProofQuery& query,
                 const RaceFactsIndex& facts) {
  ProofSide side;
  side.source = filter.source;
  side.runId = filter.runId;
  side.bets = ProofBets(ledger, filter);
  for (proof::Bet& bet : side.bets) {
    const auto found = facts.find(FactsKey(bet.date, bet.course, bet.time));
    if (found == facts.end()) continue;
    bet.raceClass = found->second.raceClass;
    bet.runners = found->second.runners;
  }
  for (const Pick& p : ledger) {
    if (!PassesFilter(p, filter) || SetApartName(p).empty()) continue;
    side.apart.push_back(p);
    ProofSide::Apart& count = side.apartByMethod[p.system];
    (p.withdrawn ? count.withdrawn : count.late) += 1;
  }
  proof::SortByRaceTime(side.bets);
  side.pending = static_cast<int>(std::count_if(side.bets.begin(), side.bets.end(), [](auto& b) {
    return b.result == proof::Result::kPending;
  }));
  proof::Options options;
  options.commission = query.commission;
  side.methods = proof::FiguresByMethod(side.bets, options);
  // A method whose picks were all late or withdrawn is listed with no bets.
  for (const auto& [method, count] : side.apartByMethod)
    if (std::none_of(side.methods.begin(), side.methods.end(),
                     [&](const proof::MethodFigures& f) { return f.method == method; })) {
      proof::MethodFigures none;
      none.method = method;
      side.methods.push_back(std::move(none));
    }
  std::sort(side.methods.begin(), side.methods.end(),
            [](const auto& a, const auto& b) { return a.method < b.method; });
  if (query.by) side.groups = proof::FiguresByGroup(side.bets, *query.by, options);
  return side;
}

// Two significant figures: 3.73 -> "3.7", 61.3 -> "61", 1449 -> "1,400".
std::string TwoFigures(double v) {
  if (v < 10) return PointFixed(v, 1);
  const double scale = std::pow(10.0, std::floor(std::log10(v)) - 1);
  const std::string digits = PointFixed(std::round(v / scale) * scale, 0);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

proof::Result ProofResult(PickResult result) {
  return systems::ResultOf(result);
}

proof::Bet BetOfPick(const Pick& pick) {
  return {pick.day,
          pick.time,
          pick.course,
          pick.runner,
          pick.system,
          RealPrice(pick.price),
          ProofResult(pick.result),
          RealPrice(pick.sp)};
}

bool PassesFilter(const Pick& pick, const PickFilter& f) {
  if (pick.source != f.source) return false;
  if (f.source == PickSource::kBacktest && pick.runId != f.runId) return false;
  if (f.from && pick.day < *f.from) return false;
  if (f.to && *f.to < pick.day) return false;
  if (!f.course.empty() && pick.course != f.course) return false;
  return f.method.empty() || pick.system == f.method;
}

std::string SetApartName(const Pick& pick) {
  if (pick.withdrawn) return "withdrawn";
  return pick.late ? "late" : "";
}

std::vector<proof::Bet> ProofBets(const std::vector<Pick>& ledger, const PickFilter& filter) {
  std::vector<proof::Bet> bets;
  for (const Pick& pick : ledger)
    if (PassesFilter(pick, filter) && SetApartName(pick).empty()) bets.push_back(BetOfPick(pick));
  return bets;
}

bool NeedsCards(const ProofQuery& query) {
  return query.by == proof::Breakdown::kClass || query.by == proof::Breakdown::kRunners;
}

void AddRaceFacts(RaceFactsIndex& index, const Date& day, const std::vector<RaceFacts>& races) {
  for (const RaceFacts& race : races)
    index.try_emplace(FactsKey(day, race.course, race.time), race);
}

ProofReport MakeProofReport(const std::vector<Pick>& ledger, const std::vector<ArchiveRun>& runs,
                            const ProofQuery& query, const RaceFactsIndex& facts) {
  ProofReport report;
  report.query = query;
  std::set<std::string> methods, courses;
  std::map<long long, BacktestRunInfo> picked;  // back-test runs by number
  std::set<std::pair<long long, Date>> runDays;
  for (const ArchiveRun& run : runs)
    if (run.kind == "backtest") picked[run.id] = {run.id, run.day, run.day, 0, 0, run.started};
  for (const Pick& p : ledger) {
    methods.insert(p.system);
    courses.insert(p.course);
    if (!report.firstDay || p.day < *report.firstDay) report.firstDay = p.day;
    if (!report.lastDay || *report.lastDay < p.day) report.lastDay = p.day;
    const auto run = picked.find(p.runId);
    if (p.source != PickSource::kBacktest || run == picked.end()) continue;
    BacktestRunInfo& info = run->second;
    if (info.picks == 0 || p.day < info.first) info.first = p.day;
    if (info.picks == 0 || info.last < p.day) info.last = p.day;
    ++info.picks;
    runDays.insert({p.runId, p.day});
  }
  for (const auto& [id, day] : runDays) ++picked[id].days;
  report.methods.assign(methods.begin(), methods.end());
  report.courses.assign(courses.begin(), courses.end());
  for (const auto& [id, info] : picked) report.runs.push_back(info);

  long long& run = report.query.runId;
  if (run == kLatestRun) run = report.runs.empty() ? 0 : report.runs.back().id;
  if (!picked.count(run)) run = 0;

  PickFilter filter{query.from, query.to, query.course, query.method, PickSource::kLive, 0};
  // Beside a run (a cancelled one covers fewer days), the live picks of its days only.
  if (run != 0 && picked[run].picks > 0) {
    const BacktestRunInfo& info = picked[run];
    if (!filter.from || *filter.from < info.first) filter.from = info.first;
    if (!filter.to || info.last < *filter.to) filter.to = info.last;
  }
  report.sides.push_back(SideOf(ledger, filter, query, facts));
  if (run != 0) {
    filter.source = PickSource::kBacktest;
    filter.runId = run;
    report.sides.push_back(SideOf(ledger, filter, query, facts));
  }
  return report;
}

std::vector<PickLine> PickLines(const std::vector<proof::Bet>& bets, const std::string& method) {
  std::vector<proof::Bet> own;
  for (const proof::Bet& b : bets)
    if (b.method == method) own.push_back(b);
  proof::SortByRaceTime(own);
  std::vector<PickLine> lines;
  double total = 0;
  for (proof::Bet& b : own) {
    PickLine line;
    if (b.result == proof::Result::kVoid) {
      line.profit = 0;
    } else if (b.result != proof::Result::kPending) {
      line.profit = proof::ProfitAtSP(b);
    }
    total += line.profit.value_or(0);
    line.total = total;
    line.bet = std::move(b);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<PickLine> PickLinesOf(const ProofSide& side, const std::string& method) {
  std::vector<PickLine> lines = PickLines(side.bets, method);
  for (const Pick& p : side.apart) {
    if (p.system != method) continue;
    PickLine line;
    line.bet = BetOfPick(p);
    line.apart = SetApartName(p);
    lines.push_back(std::move(line));
  }
  std::stable_sort(lines.begin(), lines.end(), [](const PickLine& a, const PickLine& b) {
    return std::tie(a.bet.date, a.bet.time) < std::tie(b.bet.date, b.bet.time);
  });
  double total = 0;
  for (PickLine& l : lines) {
    total += l.profit.value_or(0);
    l.total = total;
  }
  return lines;
}

std::string PickLinesCsv(const std::vector<PickLine>& lines) {
  std::string out = "Date,Time,Course,Runner,Method,Price,Result,SP,Profit,Total\r\n";
  const auto number = [](const std::optional<double>& v) {
    return v ? PointFixed(*v, 2) : std::string();
  };
  for (const PickLine& l : lines) {
    const proof::Bet& b = l.bet;
    const std::string fields[] = {FormatDate(b.date),
                                  b.time,
                                  b.course,
                                  b.runner,
                                  b.method,
                                  number(b.price),
                                  proof::ResultName(b.result),
                                  number(b.sp),
                                  number(l.profit),
                                  PointFixed(l.total, 2)};
    bool first = true;
    for (const std::string& f : fields) {
      if (!first) out += ',';
      first = false;
      out += CsvField(f);
    }
    out += "\r\n";
  }
  return out;
}

std::string PickListFileName(const std::string& method, long long runId) {
  std::string slug;
  for (char c : Lower(method)) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (keep) {
      slug += c;
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
  }
  while (!slug.empty() && slug.back() == '-') slug.pop_back();
  if (slug.empty()) slug = "method";
  std::string name = "proof-" + slug;
  if (runId > 0) name += "-backtest-" + std::to_string(runId);
  return name + ".csv";
}

std::string FixedText(double v, int decimals) {
  return PointFixed(v, decimals);
}

std::string PointsText(double points) {
  const std::string text = PointFixed(points, 2);
  return text[0] == '-' || text == "0.00" ? text : "+" + text;
}

std::string PercentText(double fraction) {
  return PointFixed(fraction * 100, 1) + " %";
}

std::string LuckText(double oneIn) {
  if (oneIn <= 0) return "—";
  if (oneIn > 1e6) return "1 in > 1,000,000";
  return "1 in " + TwoFigures(oneIn);
}

}  // namespace trotix
