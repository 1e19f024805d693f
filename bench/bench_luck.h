#pragma once
// Every figure of one method's picks, exact luck included, against the time the Proof page may
// take.

namespace trotix::bench {

// Prints the time of proof::Figures for `picks` priced picks of one method at exchange prices
// from 1.5 to 1000, and whether it stays under 150 ms; false when it does not.
bool ExactLuckScenario(int picks);

}  // namespace trotix::bench
