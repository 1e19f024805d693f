#pragma once
// Named columns of every grid. Each namespace is a grid's name in lower case; its constants are
// the column indexes, in the order the grid's schema (model/schemas.cpp) gives captions, kinds
// and hidden flags. Code outside the model addresses cells only through these.

namespace trotix {

// Every race list (RT, NX, MM, T1) starts with the flag, the time and the course, so code that
// takes any of them reads those three through this.
namespace race_list {
enum : int { kFlag, kTime, kCourse };
}

// "Today": the day's races.
namespace rt {
enum : int { kFlag, kTime, kCourse, kName, kPrize, kRunners, kCount };
}

// "Scalp Odds": market moves.
namespace lg {
enum : int { kFlag, kTime, kCourse, kName, kLastPrice, kFirstShow, kMove, kCount };
}

// The exchange's races of the day, from the indicator file.
namespace t1 {
enum : int { kFlag, kTime, kCourse, kCount };
}

// The exchange runners of one race.
namespace t2 {
enum : int {
  kName,
  kShare,     // "%": the runner's share of the money matched on the event
  kAllSum,    // money matched on the event
  kSum,       // money matched on the runner
  kOdd,       // last matched price, 5000 without one
  kSt1,       // strength over the three shortest prices
  kSt2,       // strength over the second to fourth shortest prices
  kMarketId,  // win market
  kSelectionId,
  kStartOdd,
  kShift,  // last price against the start price, whole percent
  kPlace,
  kPlaceSum,
  kCount
};
}

// "Zorvat": the day's races; the race's full name stands hidden.
namespace nx {
enum : int { kFlag, kTime, kCourse, kName, kSpare, kCount };
}

// The four Zorvat race numbers, one row.
namespace rf {
enum : int { kDV, kFNH, kID, kVP, kCount };
}

// Zorvat's runners.
namespace h {
enum : int {
  kNo,
  kRunnerId,
  kNH,
  kVH,
  kHorse,
  kStatusI,
  kValuesI,  // I1-I6
  kPtsI = kValuesI + 6,
  kValuesII,  // II1-II6
  kPtsII = kValuesII + 6,
  kStatusII,
  kScore,
  kCount
};
}

// "Tips": the tipsters' selections.
namespace tips {
enum : int { kFlag, kTime, kCourse, kName, kPlace, kCount };
}

// "Result": the first four of each race with their prices; the result page's address stands
// hidden before the "Link" column.
namespace rez {
enum : int {
  kFlag,
  kTime,
  kCourse,
  kNumber1,
  kOdd1,
  kNumber2,
  kOdd2,
  kNumber3,
  kOdd3,
  kNumber4,
  kOdd4,
  kUrl,
  kLink,
  kCount
};
}

// "Report": the picks.
namespace rep {
enum : int { kTime, kCourse, kName, kOdds, kSystem, kCount };
}

// "ALL TABLE": the day's races.
namespace mm {
enum : int { kFlag, kTime, kCourse, kCount };
}

// "ALL TABLE": the runners of the race analysed.
namespace tab {
enum : int {
  kNumber,
  kName,
  kPercent,
  kTrainer,
  kJockey,
  kAgeWeight,
  kForm,
  kDays,
  kTot,
  kBf,
  kKf,
  kMove,
  kFormRank,
  kWin,
  kPlace,
  kInd,
  kTips,
  kPro,
  kZorvat,
  kMarketId,
  kSelectionId,
  kOr,
  kTs,
  kRpr,
  kOrDeviation,
  kTsDeviation,
  kRprDeviation,
  kRank,
  kPlacePrice,
  kCount
};
}

// "Summa": the component scores of every runner and their sum.
namespace r {
enum : int {
  kName,
  kRank,
  kBf,
  kScalp,
  kRpr,
  kIndicator,
  kTips1,
  kFormRank,
  kZorvat,
  kSumma,
  kCount
};
}

// "Recoming": the strongest runners.
namespace rr {
enum : int { kName, kPower, kCount };
}

// Race lists can be read through race_list.
constexpr bool StartsLikeARaceList(int time, int course) {
  return time == race_list::kTime && course == race_list::kCourse;
}
static_assert(StartsLikeARaceList(rt::kTime, rt::kCourse));
static_assert(StartsLikeARaceList(nx::kTime, nx::kCourse));
static_assert(StartsLikeARaceList(mm::kTime, mm::kCourse));
static_assert(StartsLikeARaceList(t1::kTime, t1::kCourse));

}  // namespace trotix
