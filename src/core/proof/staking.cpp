#include "proof/staking.h"

#include "proof/stats.h"

namespace trotix::proof {

const char* StakingName(Staking staking) {
  switch (staking) {
    case Staking::kPercent:
      return "percent";
    case Staking::kToWin:
      return "to-win";
    case Staking::kLevel:
      break;
  }
  return "level";
}

std::vector<double> BankCurve(const std::vector<Bet>& bets, Staking staking) {
  std::vector<double> curve;
  double profit = 0;
  for (const Bet& bet : bets) {
    if (bet.result != Result::kWon && bet.result != Result::kPlaced &&
        bet.result != Result::kUnplaced)
      continue;
    double stake = 1;
    if (staking == Staking::kPercent) {
      stake = (kStartingBank + profit) * kBankShare;
    } else if (staking == Staking::kToWin && bet.price && *bet.price > 1) {
      stake = 1 / (*bet.price - 1);
    }
    profit += stake * ProfitAtSP(bet);
    curve.push_back(profit);
  }
  return curve;
}

}  // namespace trotix::proof
