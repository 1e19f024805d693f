#pragma once
// How a method's bank would have moved under other stakes than one point a bet, all settled to
// starting price as the level-stakes curve is.
#include <vector>

namespace trotix::proof {

struct Bet;

enum class Staking {
  kLevel,    // 1 point a bet
  kPercent,  // 2 % of the bank, which starts at 100 points and compounds
  kToWin,    // to win 1 point at the price when picked; 1 point on a bet without a price
};

inline constexpr double kStartingBank = 100, kBankShare = 0.02;

// "level", "percent", "to-win".
const char* StakingName(Staking staking);

// The profit in points after each settled bet, in the order given (void and pending bets are
// skipped). A winner without SP returns its stake, as at level stakes.
std::vector<double> BankCurve(const std::vector<Bet>& bets, Staking staking);

}  // namespace trotix::proof
