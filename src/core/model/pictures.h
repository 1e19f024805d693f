#pragma once
// Indexes of the pictures image cells hold. The core writes them; the window keeps one picture
// list per kind in this order.

namespace trotix::picture {

// Country flags, column 0 of every race or runner list. "USA" and every country without a flag
// of its own share index 0.
enum Flag : int {
  kUsa,
  kEngland,
  kIreland,
  kFrance,
  kUae,
  kIndia,
  kSouthAfrica,
  kAustralia,
  kHongKong,
  kFlagCount
};

// Marks of TAB's trainer, jockey and "Pro" columns.
enum PersonMark : int { kNoMark, kStar, kTrainerMark, kJockeyMark, kPersonMarkCount };

// Tips place marks: 0 none, then the place itself (1-3 rosettes, 4-9 numbered discs).
inline constexpr int kNoPlace = 0;
inline constexpr int kPlaceMarkCount = 10;

// The results' "Link" column.
inline constexpr int kLinkMark = 0;

}  // namespace trotix::picture
