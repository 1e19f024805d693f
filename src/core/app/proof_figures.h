#pragma once
// The ledger's picks as the statistics take them: each pick a bet, filtered as the Proof page
// and `trotix-cli proof` ask, the figures of every method for the live picks and for a back-test
// run beside them, and one method's picks with their running total. Pure: picks in, figures out.
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "archive/day_archive.h"
#include "feeds/race_facts.h"
#include "proof/breakdown.h"
#include "proof/stats.h"
#include "text/dates.h"

namespace trotix {

// Which picks of the ledger count.
struct PickFilter {
  std::optional<Date> from, to;  // inclusive; none leaves that end open
  std::string course, method;    // empty: every one
  PickSource source = PickSource::kLive;
  long long runId = 0;  // the back-test run, for back-test picks
};

proof::Result ProofResult(PickResult result);
// The pick as a bet: its system is the method; unsettled is pending.
proof::Bet BetOfPick(const Pick& pick);
bool PassesFilter(const Pick& pick, const PickFilter& filter);
// The bets of the picks that pass: late and withdrawn picks are kept apart, never bets.
std::vector<proof::Bet> ProofBets(const std::vector<Pick>& ledger, const PickFilter& filter);
// A pick kept out of the figures: "late" or "withdrawn"; empty for a bet.
std::string SetApartName(const Pick& pick);

// `ProofQuery::runId` for the newest back-test run.
inline constexpr long long kLatestRun = -1;

struct ProofQuery {
  std::optional<Date> from, to;
  std::string course, method;
  long long runId = kLatestRun;        // the back-test run beside the live figures; 0: none
  double commission = 0.05;            // on net winnings at the price when picked
  std::optional<proof::Breakdown> by;  // the figures split by this too
};

// Whether the breakdown needs the days' cards (class, field size).
bool NeedsCards(const ProofQuery& query);

// The figures of the live picks, or of one back-test run. Beside a run, the live picks are
// taken over the run's own days only, so both sides cover the same races.
struct ProofSide {
  PickSource source = PickSource::kLive;
  long long runId = 0;
  std::vector<proof::Bet> bets;               // in race order, pending ones included
  std::vector<proof::MethodFigures> methods;  // by method name
  int pending = 0;                            // left out until settled
  std::vector<proof::GroupFigures> groups;    // by the query's breakdown; none without one
  // Late and withdrawn picks that pass the filter, kept out of the figures; and how many of
  // each per method.
  std::vector<Pick> apart;
  struct Apart {
    int late = 0, withdrawn = 0;
  };
  using ApartCounts = std::map<std::string, Apart>;
  ApartCounts apartByMethod;
};

struct BacktestRunInfo {
  long long id = 0;
  Date first, last;  // the days its picks cover; its first day while it has none
  int picks = 0;
  int days = 0;         // the days it has picks on
  std::string started;  // UTC
  // A run made by this program: the stored days it was asked for and whether a Cancel ended it
  // early (0 and false for a run the archive only lists).
  int daysAsked = 0;
  bool cancelled = false;
};

struct ProofReport {
  ProofQuery query;              // the run resolved: 0 when none is shown
  std::vector<ProofSide> sides;  // the live picks, then the back-test run
  // Every method and course of the ledger, for the filters, by name.
  std::vector<std::string> methods, courses;
  std::optional<Date> firstDay, lastDay;  // of the whole ledger
  std::vector<BacktestRunInfo> runs;      // back-test runs, oldest first
  // The check of the ledger's chain: "Record: N events, chain intact" or where it breaks.
  std::string record;
};

// The class and field size of the races picks ran in, by day, course (upper case) and time.
using RaceFactsIndex = std::map<std::tuple<Date, std::string, std::string>, RaceFacts>;
void AddRaceFacts(RaceFactsIndex& index, const Date& day, const std::vector<RaceFacts>& races);

ProofReport MakeProofReport(const std::vector<Pick>& ledger, const std::vector<ArchiveRun>& runs,
                            const ProofQuery& query, const RaceFactsIndex& facts = {});

// One line of a method's pick list.
struct PickLine {
  proof::Bet bet;
  std::string apart;  // "late" or "withdrawn" for a pick kept out of the figures
  // At 1 point to SP: a settled bet's profit, 0 for a void one, none while pending.
  std::optional<double> profit;
  double total = 0;  // the running sum of the profits so far
};

// The bets of `method` in race order with the running total; its last total is the method's
// level-stakes profit to SP.
std::vector<PickLine> PickLines(const std::vector<proof::Bet>& bets, const std::string& method);
// The same with the method's late and withdrawn picks in their places, without a profit.
std::vector<PickLine> PickLinesOf(const ProofSide& side, const std::string& method);
// The lines as CSV: Date, Time, Course, Runner, Method, Price, Result, SP, Profit, Total.
std::string PickLinesCsv(const std::vector<PickLine>& lines);
// "proof-best-rank.csv", "proof-best-rank-backtest-3.csv".
std::string PickListFileName(const std::string& method, long long runId);

// The figures as the Proof page and `trotix-cli proof` write them, with a decimal point.
std::string FixedText(double v, int decimals = 2);  // "1.08"
std::string PointsText(double points);              // "+3.20", "-1.00", "0.00"
std::string PercentText(double fraction);           // "12.3 %"
// "1 in 3.7", "1 in 61", "1 in 1,400": two significant figures; "1 in > 1,000,000" beyond a
// million; "—" for no figure.
std::string LuckText(double oneIn);

}  // namespace trotix
