#pragma once
// Column indexes of the runner table TAB, the summary R and the short list RR.

namespace trotix::tab {
inline constexpr int kNumber = 0;
inline constexpr int kName = 1;
inline constexpr int kPercent = 2;
inline constexpr int kTrainer = 3;
inline constexpr int kJockey = 4;
inline constexpr int kAgeWeight = 5;
inline constexpr int kForm = 6;
inline constexpr int kDays = 7;
inline constexpr int kTot = 8;
inline constexpr int kBf = 9;
inline constexpr int kKf = 10;
inline constexpr int kMove = 11;
inline constexpr int kFormRank = 12;
inline constexpr int kWin = 13;
inline constexpr int kPlace = 14;
inline constexpr int kInd = 15;
inline constexpr int kTips = 16;
inline constexpr int kZorvat = 18;
inline constexpr int kMarketId = 19;
inline constexpr int kSelectionId = 20;
inline constexpr int kOr = 21;
inline constexpr int kTs = 22;
inline constexpr int kRpr = 23;
inline constexpr int kOrDeviation = 24;
inline constexpr int kTsDeviation = 25;
inline constexpr int kRprDeviation = 26;
inline constexpr int kRank = 27;
inline constexpr int kPlacePrice = 28;
}  // namespace trotix::tab

namespace trotix::summa {
inline constexpr int kName = 0;
inline constexpr int kRank = 1;
inline constexpr int kBf = 2;
inline constexpr int kScalp = 3;
inline constexpr int kRpr = 4;
inline constexpr int kIndicator = 5;
inline constexpr int kTips1 = 6;
inline constexpr int kFormRank = 7;
inline constexpr int kZorvat = 8;
inline constexpr int kSumma = 9;
inline constexpr int kPower = 1;  // RR
}  // namespace trotix::summa
