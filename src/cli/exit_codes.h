#pragma once
// trotix-cli's exit statuses, one list for every action.

namespace trotix {

inline constexpr int kExitBadArguments = 2;
inline constexpr int kExitSignInFailed = 3;
inline constexpr int kExitActionFailed = 4;
inline constexpr int kExitLedgerBroken = 5;
inline constexpr int kExitInterrupted = 130;  // as a shell reports a program that Ctrl+C ended

}  // namespace trotix
