#include "model/schemas.h"

#include <array>
#include <span>

#include "model/columns.h"

namespace trotix {
namespace {

constexpr auto kText = ColumnKind::Text;
constexpr auto kNumber = ColumnKind::Number;
constexpr auto kImage = ColumnKind::Image;
constexpr bool kHidden = true;
constexpr bool kPrice = true;

struct ColumnSchema {
  int index;
  const char* caption;
  ColumnKind kind;
  bool hidden = false;
  const char* hint = "";
  bool price = false;
};

// Each schema lists its columns by their named index, so a column added to one side only fails
// to build.
template <std::size_t N>
constexpr bool Ordered(const ColumnSchema (&columns)[N], int count) {
  if (static_cast<int>(N) != count) return false;
  for (std::size_t i = 0; i < N; ++i)
    if (columns[i].index != static_cast<int>(i)) return false;
  return true;
}

constexpr ColumnSchema kRT[] = {
    {rt::kFlag, "", kImage, false, "Country of the course"},
    {rt::kTime, "Time", kText, false, "Start time"},
    {rt::kCourse, "Course", kText, false, "Course"},
    {rt::kName, "Name", kText, false, "Name of the race"},
    {rt::kPrize, "Prize", kText, false, "Prize money to the winner"},
    {rt::kRunners, "Runners", kText, false, "Number of runners"},
};
static_assert(Ordered(kRT, rt::kCount));

constexpr ColumnSchema kLG[] = {
    {lg::kFlag, "", kImage, false, "Country of the course"},
    {lg::kTime, "Time", kText, false, "Start time"},
    {lg::kCourse, "Course", kText, false, "Course"},
    {lg::kName, "Name Horse", kText, false, "Runner"},
    {lg::kLastPrice, "Last Price", kText, false, "Latest price", kPrice},
    {lg::kFirstShow, "1st Show", kText, false, "First price shown", kPrice},
    {lg::kMove, "Mov, %", kNumber, false,
     "Price move in percent: negative shortens (green), positive drifts (red)"},
};
static_assert(Ordered(kLG, lg::kCount));

constexpr ColumnSchema kT1[] = {
    {t1::kFlag, "", kImage, false, "Country of the course"},
    {t1::kTime, "Time", kText, false, "Start time"},
    {t1::kCourse, "Course", kText, false, "Course"},
};
static_assert(Ordered(kT1, t1::kCount));

constexpr ColumnSchema kT2[] = {
    {t2::kName, "Name Horse", kText, false, "Runner"},
    {t2::kShare, "%", kNumber, false, "Share of the money matched on the race"},
    {t2::kAllSum, "All Sum, $", kText, false, "Money matched on the race"},
    {t2::kSum, "Sum, $", kText, false, "Money matched on the runner"},
    {t2::kOdd, "Odd", kNumber, false, "Last matched price; 5000 without one", kPrice},
    {t2::kSt1, "St1", kNumber, false, "Market strength over the three shortest prices"},
    {t2::kSt2, "St2", kNumber, false, "Market strength over the second to fourth shortest prices"},
    {t2::kMarketId, "", kText, kHidden, "Win market"},
    {t2::kSelectionId, "", kText, kHidden, "Runner on the exchange"},
    {t2::kStartOdd, "SK", kText, false, "Start Odd"},
    {t2::kShift, "<%>", kText, false, "Сдвиг"},
    {t2::kPlace, "Place", kText, false, "Place price", kPrice},
    {t2::kPlaceSum, "Place Sum", kText, false, "Money matched on the runner / on the place market"},
};
static_assert(Ordered(kT2, t2::kCount));

constexpr ColumnSchema kNX[] = {
    {nx::kFlag, "", kImage, false, "Country of the course"},
    {nx::kTime, "Time", kText, false, "Start time"},
    {nx::kCourse, "Course", kText, false, "Course"},
    {nx::kName, "Название", kText, kHidden, "Name of the race"},
    {nx::kSpare, "", kText, kHidden, "Not used"},
};
static_assert(Ordered(kNX, nx::kCount));

constexpr ColumnSchema kRF[] = {
    {rf::kDV, "DV", kNumber, false, "Day value of today's date (red)"},
    {rf::kFNH, "FNH", kNumber, false, "Field number: the number of runners, reduced (green)"},
    {rf::kID, "ID", kNumber, false, "Sum of the runners' ID letters, reduced (navy)"},
    {rf::kVP, "VP", kNumber, false, "Value of the race's name (purple)"},
};
static_assert(Ordered(kRF, rf::kCount));

constexpr ColumnSchema kH[] = {
    {h::kNo, "№", kText, false, "Position in the sorted runner list"},
    {h::kRunnerId, "ID", kNumber, false, "Letter value of the name's first letter"},
    {h::kNH, "NH", kNumber, false, "Position, reduced to one digit"},
    {h::kVH, "VH", kNumber, false, "Value of the runner's name"},
    {h::kHorse, "Horse", kText, false, "Runner"},
    {h::kStatusI, "Status I", kText, false, "Status of values I1-I6"},
    {h::kValuesI, "", kNumber, false,
     "I1: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP "
     "purple"},
    {h::kValuesI + 1, "", kNumber, false,
     "I2: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP "
     "purple"},
    {h::kValuesI + 2, "", kNumber, false,
     "I3: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP "
     "purple"},
    {h::kValuesI + 3, "", kNumber, false,
     "I4: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP "
     "purple"},
    {h::kValuesI + 4, "", kNumber, false,
     "I5: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP "
     "purple"},
    {h::kValuesI + 5, "", kNumber, false,
     "I6: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP "
     "purple"},
    {h::kPtsI, "Pts I", kNumber, false, "Points of part I"},
    {h::kValuesII, "", kNumber, false,
     "II1: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, "
     "VP purple"},
    {h::kValuesII + 1, "", kNumber, false,
     "II2: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, "
     "VP purple"},
    {h::kValuesII + 2, "", kNumber, false,
     "II3: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, "
     "VP purple"},
    {h::kValuesII + 3, "", kNumber, false,
     "II4: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, "
     "VP purple"},
    {h::kValuesII + 4, "", kNumber, false,
     "II5: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, "
     "VP purple"},
    {h::kValuesII + 5, "", kNumber, false,
     "II6: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, "
     "VP purple"},
    {h::kPtsII, "Pts II", kNumber, false, "Points of part II"},
    {h::kStatusII, "Status II", kText, false, "Status of values II1-II6"},
    {h::kScore, "Score", kText, false, "Zorvat score: ? when no score line matches"},
};
static_assert(Ordered(kH, h::kCount));

constexpr ColumnSchema kTIPS[] = {
    {tips::kFlag, "", kImage, false, "Country of the course"},
    {tips::kTime, "Time", kText, false, "Start time"},
    {tips::kCourse, "Course", kText, false, "Course"},
    {tips::kName, "Name Horse", kText, false, "Runner the tipsters pick"},
    {tips::kPlace, "Place", kImage, false, "The tipsters' place for it"},
};
static_assert(Ordered(kTIPS, tips::kCount));

constexpr ColumnSchema kREZ[] = {
    {rez::kFlag, "", kImage, false, "Country of the course"},
    {rez::kTime, "Time", kText, false, "Start time"},
    {rez::kCourse, "Course", kText, false, "Course"},
    {rez::kNumber1, "Number 1", kText, false, "Winner"},
    {rez::kOdd1, "Odd", kText, false, "Starting price of the winner", kPrice},
    {rez::kNumber2, "Number 2", kText, false, "Second"},
    {rez::kOdd2, "Odd", kText, false, "Starting price of the second", kPrice},
    {rez::kNumber3, "Number 3", kText, false, "Third"},
    {rez::kOdd3, "Odd", kText, false, "Starting price of the third", kPrice},
    {rez::kNumber4, "Number 4", kText, false, "Fourth"},
    {rez::kOdd4, "Odd", kText, false, "Starting price of the fourth", kPrice},
    {rez::kUrl, "URL", kText, kHidden, "Address of the result page"},
    {rez::kLink, "Link", kImage, false, "Open the result page"},
};
static_assert(Ordered(kREZ, rez::kCount));

constexpr ColumnSchema kREP[] = {
    {rep::kTime, "Time", kText, false, "Start time"},
    {rep::kCourse, "Course", kText, false, "Course"},
    {rep::kName, "Name Horse", kText, false, "Runner picked"},
    {rep::kOdds, "Odds", kText, false, "Price when picked", kPrice},
    {rep::kSystem, "System", kText, false, "How it was picked"},
};
static_assert(Ordered(kREP, rep::kCount));

constexpr ColumnSchema kMM[] = {
    {mm::kFlag, "", kImage, false, "Country of the course"},
    {mm::kTime, "Time", kText, false, "Start time"},
    {mm::kCourse, "Course", kText, false, "Course"},
};
static_assert(Ordered(kMM, mm::kCount));

constexpr ColumnSchema kTAB[] = {
    {tab::kNumber, "№", kText, false, "Runner number; NR: a non-runner"},
    {tab::kName, "Name Horse", kText, false, "Runner"},
    {tab::kPercent, "%", kNumber, kHidden, "Percent"},
    {tab::kTrainer, "Т", kImage, false, "Тренер"},
    {tab::kJockey, "J", kImage, false, "Жокей"},
    {tab::kAgeWeight, "Age Wgt", kText, false, "Лет Вес"},
    {tab::kForm, "Form", kText, false, "Форма"},
    {tab::kDays, "Day", kText, false, "Days since the last run"},
    {tab::kTot, "ТОТ", kNumber, kHidden, "Tote"},
    {tab::kBf, "BF", kNumber, kHidden, "Share of the money matched on the race"},
    {tab::kKf, "Kf", kNumber, false, "Текущий кф", kPrice},
    {tab::kMove, "", kNumber, false, "Движение кф."},
    {tab::kFormRank, "FR", kNumber, false, "Form Rank"},
    {tab::kWin, "Win", kNumber, kHidden, "Win"},
    {tab::kPlace, "Place", kNumber, kHidden, "Place"},
    {tab::kInd, "Ind", kText, kHidden, "Индикаторы BF"},
    {tab::kTips, "TIPS", kImage, false, "The tipsters' place for it"},
    {tab::kPro, "Pro", kImage, kHidden, "Pro"},
    {tab::kZorvat, "", kText, false, "Zorvat"},
    {tab::kMarketId, "Id_Market", kText, kHidden, "Win market"},
    {tab::kSelectionId, "Id_Select", kText, kHidden, "Runner on the exchange"},
    {tab::kOr, "OR", kNumber, false, "Official rating"},
    {tab::kTs, "TS", kNumber, false, "Topspeed rating"},
    {tab::kRpr, "RPR", kNumber, false, "Racing Post rating"},
    {tab::kOrDeviation, "OR2", kNumber, kHidden, "Official rating against the race's mean"},
    {tab::kTsDeviation, "TS2", kNumber, kHidden, "Topspeed rating against the race's mean"},
    {tab::kRprDeviation, "RPR", kNumber, kHidden, "RPR against the race's mean"},
    {tab::kRank, "Rank", kNumber, false,
     "The three ratings against the race's means, summed; the best in green"},
    {tab::kPlacePrice, "Place", kText, kHidden, "Place price", kPrice},
};
static_assert(Ordered(kTAB, tab::kCount));

constexpr ColumnSchema kR[] = {
    {r::kName, "Name Horse", kText, false, "Runner; greyed: a non-runner"},
    {r::kRank, "Rank", kNumber, false, "Ratings against the race's means"},
    {r::kBf, "BF %", kNumber, false, "Share of the money matched on the race"},
    {r::kScalp, "Scalp", kNumber, false, "Price move: a shortening price scores"},
    {r::kRpr, "RPR", kNumber, false, "RPR against the race's mean"},
    {r::kIndicator, "Indicator", kNumber, false, "100 for a runner of a strong market"},
    {r::kTips1, "Tips1", kNumber, false, "100 for the tipsters' first pick"},
    {r::kFormRank, "FR", kNumber, false, "Form score"},
    {r::kZorvat, "Zorvat", kNumber, false, "Zorvat score as a percentage of the race's best"},
    {r::kSumma, "Summa", kNumber, false, "Sum of the eight components"},
};
static_assert(Ordered(kR, r::kCount));

constexpr ColumnSchema kRR[] = {
    {rr::kName, "Name Horse", kText, false, "The strongest runners that run"},
    {rr::kPower, "Power", kNumber, false, "Their Summa"},
};
static_assert(Ordered(kRR, rr::kCount));

std::vector<Column> Build(std::span<const ColumnSchema> schema) {
  std::vector<Column> columns;
  columns.reserve(schema.size());
  for (const ColumnSchema& s : schema)
    columns.push_back({s.caption, s.kind, s.hidden, s.hint, s.price});
  return columns;
}

}  // namespace

static std::vector<Column> Columns(Grid grid) {
  switch (grid) {
    case Grid::RT:
      return Build(kRT);
    case Grid::LG:
      return Build(kLG);
    case Grid::T1:
      return Build(kT1);
    case Grid::T2:
      return Build(kT2);
    case Grid::NX:
      return Build(kNX);
    case Grid::RF:
      return Build(kRF);
    case Grid::H:
      return Build(kH);
    case Grid::TIPS:
      return Build(kTIPS);
    case Grid::REZ:
      return Build(kREZ);
    case Grid::REP:
      return Build(kREP);
    case Grid::MM:
      return Build(kMM);
    case Grid::TAB:
      return Build(kTAB);
    case Grid::R:
      return Build(kR);
    case Grid::RR:
      return Build(kRR);
  }
  return {};
}

std::shared_ptr<const std::vector<Column>> GridColumns(Grid grid) {
  using Shared = std::shared_ptr<const std::vector<Column>>;
  // Immutable once built; every Workspace and every copy of one shares them.
  static const std::array<Shared, static_cast<int>(Grid::RR) + 1> kSchemas = [] {
    std::array<Shared, static_cast<int>(Grid::RR) + 1> all;
    for (int g = 0; g < static_cast<int>(all.size()); ++g)
      all[g] = std::make_shared<const std::vector<Column>>(Columns(static_cast<Grid>(g)));
    return all;
  }();
  return kSchemas.at(static_cast<int>(grid));
}

}  // namespace trotix
