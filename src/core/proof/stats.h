#pragma once
// How a selection method has done: strike rate with its uncertainty, level-stakes profit to
// starting price and to the price when picked, actual against expected winners, runs and
// drawdown, and how likely its profit would be by luck alone. Pure functions over a list of
// settled picks; no database, no window.
#include <optional>
#include <string>
#include <vector>

#include "text/dates.h"

namespace trotix::proof {

enum class Result { kWon, kPlaced, kUnplaced, kVoid, kPending };

// "won", "placed", "unplaced", "void", "pending".
const char* ResultName(Result r);

struct Bet {
  Date date;
  std::string time, course, runner, method;
  std::optional<double> price;  // the win price when picked, when it was a real price
  Result result = Result::kPending;
  std::optional<double> sp;  // starting price, when the runner finished in the first four
  std::string raceClass{};   // from the day's card; empty when unknown
  int runners = 0;           // declared runners less non-runners on the card; 0 when unknown
};

struct Options {
  double commission = 0.05;  // on net winnings at the price when picked
};

struct MethodFigures {
  std::string method;
  int bets = 0;  // settled, void left out
  int winners = 0;
  int placed = 0;  // in the first three, winners among them
  int voids = 0;
  double strikeRate = 0, wilsonLow = 0, wilsonHigh = 0;  // fractions, 95 % interval
  double profitSP = 0, roiSP = 0;                        // 1-point level stakes to SP
  int pricedBets = 0;                                    // bets with a price when picked
  double profitPrice = 0, roiPrice = 0;                  // at that price, after commission
  double aE = 0;                                         // winners / expected winners
  int longestLosingRun = 0;
  double maxDrawdown = 0;  // of the level-stakes bank to SP
  // One in how many runs of luck alone, each priced pick winning with 1 / price, make at least
  // this profit at the price when picked, exactly; 0 without priced bets, or when luck never could.
  double luckOneIn = 0;
  bool luckExact = true;      // false when the figure would take too long and is left out
  std::vector<double> curve;  // the level-stakes bank to SP after each bet

  // Against the prices when picked: the winners they expect, the Archie score of the priced
  // winners against them and its p-value; the score is not to be trusted when fewer than
  // kArchieFewestExpected winners were expected.
  double expectedWinners = 0, archie = 0, archieP = 1;
  // The longest losing run to expect at the strike rate over this many bets, and the deepest
  // drawdown in units of it (a losing run of L costs L points); 0 without bets.
  double expectedLongestLosingRun = 0, drawdownInLosingRuns = 0;
  // What rests on the best results: P/L and ROI without the biggest winner (to SP, and at the
  // price when picked), and the share of the profit to SP made by the top 1 % of winners
  // (at least one); the share is 0 when there is no profit.
  double profitSPWithoutTop = 0, roiSPWithoutTop = 0;
  double profitPriceWithoutTop = 0, roiPriceWithoutTop = 0;
  double topShareOfProfit = 0;
  // The bank to SP after each bet as `curve`, for the other stakings (see proof/staking.h), and
  // the day of each bet.
  std::vector<double> curvePercent, curveToWin;
  std::vector<Date> curveDates;
};

// The 95 % Wilson score interval of `successes` in `trials`; {0, 0} for no trials.
std::pair<double, double> WilsonInterval(int successes, int trials);

// Profit of one settled bet at 1 point: to SP (a winner pays SP - 1, a loser -1; a winner
// without SP counts 0), and at the price when picked after commission (none without a price).
double ProfitAtSP(const Bet& bet);
std::optional<double> ProfitAtPrice(const Bet& bet, double commission);

// The figures of one method's bets (any order; they are taken by date and time). Pending bets
// are left out, void bets counted apart.
MethodFigures Figures(std::vector<Bet> bets, const Options& options = {});

// The figures of every method in `bets`, in the order each method first appears.
std::vector<MethodFigures> FiguresByMethod(const std::vector<Bet>& bets,
                                           const Options& options = {});

// Bets in date and time order, the order every figure is taken in.
void SortByRaceTime(std::vector<Bet>& bets);

}  // namespace trotix::proof
