#pragma once
// Whether a method's winners differ from chance: the Archie score against the winners the
// prices expect, and the longest losing run to expect at its strike rate.

namespace trotix::proof {

// Chi-square of `winners` in `bets` against `expected` winners, winners and losers both counted
// (1 degree of freedom): bets * (winners - expected)^2 / (expected * (bets - expected)).
// 0 when there is nothing to compare (no bets, or expected 0 or every bet).
double Archie(int winners, double expected, int bets);

// The chance of a chi-square with 1 degree of freedom at least `archie`.
double ArchieP(double archie);

// Below this many expected winners the chi-square is not to be trusted.
inline constexpr double kArchieFewestExpected = 5;

// The expected longest run of losers among `bets` bets, each a winner with `strikeRate`, exact.
double ExpectedLongestLosingRun(int bets, double strikeRate);

}  // namespace trotix::proof
