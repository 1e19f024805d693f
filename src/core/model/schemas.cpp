#include "model/schemas.h"

#include <span>

#include "model/columns.h"

namespace trotix {
namespace {

constexpr auto kText = ColumnKind::Text;
constexpr auto kNumber = ColumnKind::Number;
constexpr auto kImage = ColumnKind::Image;
constexpr bool kHidden = true;

struct ColumnSpec {
  int index;
  const char* caption;
  ColumnKind kind;
  bool hidden = false;
  const char* hint = "";
};

// Each schema lists its columns by their named index, so a column added to one side only fails
// to build.
template <std::size_t N>
constexpr bool Ordered(const ColumnSpec (&specs)[N], int count) {
  if (static_cast<int>(N) != count) return false;
  for (std::size_t i = 0; i < N; ++i)
    if (specs[i].index != static_cast<int>(i)) return false;
  return true;
}

constexpr ColumnSpec kRT[] = {
    {rt::kFlag, "", kImage},    {rt::kTime, "Time", kText},   {rt::kCourse, "Course", kText},
    {rt::kName, "Name", kText}, {rt::kPrize, "Prize", kText}, {rt::kRunners, "Runners", kText},
};
static_assert(Ordered(kRT, rt::kCount));

constexpr ColumnSpec kLG[] = {
    {lg::kFlag, "", kImage},
    {lg::kTime, "Time", kText},
    {lg::kCourse, "Course", kText},
    {lg::kName, "Name Horse", kText},
    {lg::kLastPrice, "Last Price", kText},
    {lg::kFirstShow, "1st Show", kText},
    {lg::kMove, "Mov, %", kNumber},
};
static_assert(Ordered(kLG, lg::kCount));

constexpr ColumnSpec kT1[] = {
    {t1::kFlag, "", kImage},
    {t1::kTime, "Time", kText},
    {t1::kCourse, "Course", kText},
};
static_assert(Ordered(kT1, t1::kCount));

constexpr ColumnSpec kT2[] = {
    {t2::kName, "Name Horse", kText},
    {t2::kShare, "%", kNumber},
    {t2::kAllSum, "All Sum, $", kText},
    {t2::kSum, "Sum, $", kText},
    {t2::kOdd, "Odd", kNumber},
    {t2::kSt1, "St1", kNumber},
    {t2::kSt2, "St2", kNumber},
    {t2::kMarketId, "", kText, kHidden},
    {t2::kSelectionId, "", kText, kHidden},
    {t2::kStartOdd, "SK", kText, false, "Start Odd"},
    {t2::kShift, "<%>", kText, false, "Сдвиг"},
    {t2::kPlace, "Place", kText},
    {t2::kPlaceSum, "Place Sum", kText},
};
static_assert(Ordered(kT2, t2::kCount));

constexpr ColumnSpec kNX[] = {
    {nx::kFlag, "", kImage},          {nx::kTime, "Time", kText},
    {nx::kCourse, "Course", kText},   {nx::kName, "Название", kText, kHidden},
    {nx::kSpare, "", kText, kHidden},
};
static_assert(Ordered(kNX, nx::kCount));

constexpr ColumnSpec kRF[] = {
    {rf::kDV, "DV", kNumber},
    {rf::kFNH, "FNH", kNumber},
    {rf::kID, "ID", kNumber},
    {rf::kVP, "VP", kNumber},
};
static_assert(Ordered(kRF, rf::kCount));

constexpr ColumnSpec kH[] = {
    {h::kNo, "№", kText},
    {h::kRunnerId, "ID", kNumber},
    {h::kNH, "NH", kNumber},
    {h::kVH, "VH", kNumber},
    {h::kHorse, "Horse", kText},
    {h::kStatusI, "Status I", kText},
    {h::kValuesI, "", kNumber},
    {h::kValuesI + 1, "", kNumber},
    {h::kValuesI + 2, "", kNumber},
    {h::kValuesI + 3, "", kNumber},
    {h::kValuesI + 4, "", kNumber},
    {h::kValuesI + 5, "", kNumber},
    {h::kPtsI, "Pts I", kNumber},
    {h::kValuesII, "", kNumber},
    {h::kValuesII + 1, "", kNumber},
    {h::kValuesII + 2, "", kNumber},
    {h::kValuesII + 3, "", kNumber},
    {h::kValuesII + 4, "", kNumber},
    {h::kValuesII + 5, "", kNumber},
    {h::kPtsII, "Pts II", kNumber},
    {h::kStatusII, "Status II", kText},
    {h::kScore, "Score", kText},
};
static_assert(Ordered(kH, h::kCount));

constexpr ColumnSpec kTIPS[] = {
    {tips::kFlag, "", kImage},        {tips::kTime, "Time", kText},
    {tips::kCourse, "Course", kText}, {tips::kName, "Name Horse", kText},
    {tips::kPlace, "Place", kImage},
};
static_assert(Ordered(kTIPS, tips::kCount));

constexpr ColumnSpec kREZ[] = {
    {rez::kFlag, "", kImage},        {rez::kTime, "Time", kText},
    {rez::kCourse, "Course", kText}, {rez::kNumber1, "Number 1", kText},
    {rez::kOdd1, "Odd", kText},      {rez::kNumber2, "Number 2", kText},
    {rez::kOdd2, "Odd", kText},      {rez::kNumber3, "Number 3", kText},
    {rez::kOdd3, "Odd", kText},      {rez::kNumber4, "Number 4", kText},
    {rez::kOdd4, "Odd", kText},      {rez::kUrl, "URL", kText, kHidden},
    {rez::kLink, "Link", kImage},
};
static_assert(Ordered(kREZ, rez::kCount));

constexpr ColumnSpec kREP[] = {
    {rep::kTime, "Time", kText}, {rep::kCourse, "Course", kText}, {rep::kName, "Name Horse", kText},
    {rep::kOdds, "Odds", kText}, {rep::kSystem, "System", kText},
};
static_assert(Ordered(kREP, rep::kCount));

constexpr ColumnSpec kMM[] = {
    {mm::kFlag, "", kImage},
    {mm::kTime, "Time", kText},
    {mm::kCourse, "Course", kText},
};
static_assert(Ordered(kMM, mm::kCount));

constexpr ColumnSpec kTAB[] = {
    {tab::kNumber, "№", kText},
    {tab::kName, "Name Horse", kText},
    {tab::kPercent, "%", kNumber, kHidden},
    {tab::kTrainer, "Т", kImage, false, "Тренер"},
    {tab::kJockey, "J", kImage, false, "Жокей"},
    {tab::kAgeWeight, "Age Wgt", kText, false, "Лет Вес"},
    {tab::kForm, "Form", kText, false, "Форма"},
    {tab::kDays, "Day", kText},
    {tab::kTot, "ТОТ", kNumber, kHidden},
    {tab::kBf, "BF", kNumber, kHidden},
    {tab::kKf, "Kf", kNumber, false, "Текущий кф"},
    {tab::kMove, "", kNumber, false, "Движение кф."},
    {tab::kFormRank, "FR", kNumber, false, "Form Rank"},
    {tab::kWin, "Win", kNumber, kHidden},
    {tab::kPlace, "Place", kNumber, kHidden},
    {tab::kInd, "Ind", kText, kHidden, "Индикаторы BF"},
    {tab::kTips, "TIPS", kImage},
    {tab::kPro, "Pro", kImage, kHidden},
    {tab::kZorvat, "", kText, false, "Zorvat"},
    {tab::kMarketId, "Id_Market", kText, kHidden},
    {tab::kSelectionId, "Id_Select", kText, kHidden},
    {tab::kOr, "OR", kNumber},
    {tab::kTs, "TS", kNumber},
    {tab::kRpr, "RPR", kNumber},
    {tab::kOrDeviation, "OR2", kNumber, kHidden},
    {tab::kTsDeviation, "TS2", kNumber, kHidden},
    {tab::kRprDeviation, "RPR", kNumber, kHidden},
    {tab::kRank, "Rank", kNumber},
    {tab::kPlacePrice, "Place", kText, kHidden},
};
static_assert(Ordered(kTAB, tab::kCount));

constexpr ColumnSpec kR[] = {
    {r::kName, "Name Horse", kText}, {r::kRank, "Rank", kNumber},
    {r::kBf, "BF %", kNumber},       {r::kScalp, "Scalp", kNumber},
    {r::kRpr, "RPR", kNumber},       {r::kIndicator, "Indicator", kNumber},
    {r::kTips1, "Tips1", kNumber},   {r::kFormRank, "FR", kNumber},
    {r::kZorvat, "Zorvat", kNumber}, {r::kSumma, "Summa", kNumber},
};
static_assert(Ordered(kR, r::kCount));

constexpr ColumnSpec kRR[] = {
    {rr::kName, "Name Horse", kText},
    {rr::kPower, "Power", kNumber},
};
static_assert(Ordered(kRR, rr::kCount));

std::vector<Column> Build(std::span<const ColumnSpec> specs) {
  std::vector<Column> columns;
  columns.reserve(specs.size());
  for (const ColumnSpec& s : specs) columns.push_back({s.caption, s.kind, s.hidden, s.hint});
  return columns;
}

}  // namespace

std::vector<Column> GridColumns(Grid grid) {
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

}  // namespace trotix
