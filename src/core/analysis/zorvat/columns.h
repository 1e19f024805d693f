#pragma once
// Column indexes of the race-number grid RF and the runner grid H.

namespace trotix::zorvat {

// RF, one row.
inline constexpr int kDV = 0, kFNH = 1, kID = 2, kVP = 3;

// H, one row per runner.
inline constexpr int kNo = 0, kRunnerId = 1, kNH = 2, kVH = 3, kHorse = 4, kStatusI = 5;
inline constexpr int kValuesI = 6;  // I1-I6 in 6-11
inline constexpr int kPtsI = 12;
inline constexpr int kValuesII = 13;  // II1-II6 in 13-18
inline constexpr int kPtsII = 19;
inline constexpr int kStatusII = 20, kScore = 21;

}  // namespace trotix::zorvat
