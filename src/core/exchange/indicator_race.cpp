#include "exchange/indicator_race.h"

#include <optional>

#include "exchange/amount.h"
#include "exchange/market_strength.h"
#include "exchange/runner_info.h"
#include "text/fields.h"
#include "text/numbers.h"

namespace trotix {
namespace {

// Highlighting needs an indicator strictly inside (0, 2.31).
constexpr double kStrongBelow = 2.31;

struct RunnerRecord {
  std::string a, b, c, d;
};

RunnerRecord ReadRunner(std::string_view page) {
  const std::string r = RunnerInfo(page);
  return {GetField(r, 1), GetField(r, 2), GetField(r, 3), GetField(r, 4)};
}

// An amount of a runner record: digits alone, as RunnerInfo leaves a readable one.
std::optional<double> AmountOf(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return {};
  return StrToAmount(text);
}

// The runner's share of the event's money, whole percent; none when an amount cannot be read or
// the runner holds more than the event (a share above 100 %).
std::optional<double> ShareOf(std::string_view event, std::string_view runner) {
  const auto a = AmountOf(event), b = AmountOf(runner);
  if (!a || !b || *b > *a) return {};
  return *b == 0 ? 0 : static_cast<double>(RoundHalfEven(*b / *a * 100));
}

void AddRunner(Table& t2, const std::string& line, const RunnerRecord& win,
               const RunnerRecord& place) {
  const int r = t2.AddRow();
  t2.SetText(r, t2::kName, GetField(line, 3));
  t2.SetText(r, t2::kAllSum, win.a);
  t2.SetText(r, t2::kSum, win.b);
  t2.SetText(r, t2::kMarketId, GetField(line, 4));
  t2.SetText(r, t2::kSelectionId, GetField(line, 5));
  t2.SetText(r, t2::kStartOdd, win.d);

  double odd = ParseDecimal(win.c).value_or(0);
  if (odd == 0) odd = 5000;
  t2.SetNumber(r, t2::kOdd, odd);

  t2.SetNumber(r, t2::kShare, ShareOf(win.a, win.b).value_or(0));

  t2.SetText(r, t2::kPlaceSum, place.b + "/" + place.a);
  t2.SetText(r, t2::kPlace, place.c);
}

// Strength over rows first..first+2 into `col`; the indicator text into `label`.
void Strength(Table& t2, int first, int col, std::string& label) {
  std::array<double, 3> odds{};
  for (int k = 0; k < 3; ++k) {
    odds[k] = t2.Number(first + k, t2::kOdd);
    if (odds[k] == 0) return;
  }
  const MarketStrength m = ComputeMarketStrength(odds);
  for (int k = 0; k < 3; ++k) t2.SetNumber(first + k, col, m.st[k]);
  label = m.indicator;
}

double NumberOr1(const std::string& text) {
  return ParseDecimal(text).value_or(1);
}

void Highlight(Table& t2, int first, int stCol, const std::string& indicator) {
  const double v = StrToAmount(indicator);
  if (!(v > 0 && v < kStrongBelow)) return;
  for (int r = first; r < first + 3; ++r) {
    // A runner whose money cannot be read earns no credit from its market.
    if (!ShareOf(t2.Text(r, t2::kAllSum), t2.Text(r, t2::kSum))) continue;
    for (int c = t2::kName; c <= t2::kSt2; ++c) t2.SetColor(r, c, colors::kLightGreen);
    t2.At(r, stCol).bold = true;
  }
}

// The runner lines of the race in row `row` of T1.
std::vector<const std::string*> RaceLines(const Workspace& ws, int row) {
  const std::string key = ws.T1.Text(row, t1::kTime) + ws.T1.Text(row, t1::kCourse);
  const std::string_view whole = key;
  std::vector<const std::string*> lines;
  for (const auto& line : ws.IndicatorList) {
    // The two fields joined equal the key: compared in place, without building the join.
    const std::string_view time = FieldView(line, 1);
    if (!whole.starts_with(time) || whole.substr(time.size()) != FieldView(line, 2)) continue;
    lines.push_back(&line);
  }
  return lines;
}

std::vector<std::string> PagesOf(const std::vector<const std::string*>& lines,
                                 const VendorUrls& urls) {
  std::vector<std::string> pages;
  for (const std::string* line : lines) {
    pages.push_back(urls.RunnerPage(GetField(*line, 4), GetField(*line, 5)));
    pages.push_back(urls.RunnerPage(GetField(*line, 6), GetField(*line, 5)));
  }
  return pages;
}

}  // namespace

std::vector<std::string> IndicatorRacePages(const Workspace& ws, int row, const VendorUrls& urls) {
  if (ws.IndicatorList.empty()) return {};
  return PagesOf(RaceLines(ws, row), urls);
}

void FillIndicatorRace(Workspace& ws, int row, const VendorUrls& urls, const PageFetcher& fetch) {
  if (ws.IndicatorList.empty()) return;

  ws.spSkinLabel3 = ws.T1.Text(row, t1::kTime);
  ws.spSkinLabel4 = ws.T1.Text(row, t1::kCourse);
  Table& t2 = ws.T2;
  t2.ClearRows();

  const auto lines = RaceLines(ws, row);
  const auto pages = PagesOf(lines, urls);
  std::vector<std::string> bodies;
  if (!pages.empty()) bodies = fetch(pages);
  bodies.resize(pages.size());  // a page never answered reads as empty

  for (std::size_t i = 0; i < lines.size(); ++i) {
    ws.bfnumber = GetField(*lines[i], 4);
    AddRunner(t2, *lines[i], ReadRunner(bodies[2 * i]), ReadRunner(bodies[2 * i + 1]));
  }

  t2.SortByColumn(t2::kOdd);
  if (t2.RowCount() < 3) return;
  Strength(t2, 0, t2::kSt1, ws.ind1);
  if (t2.RowCount() < 4) return;
  Strength(t2, 1, t2::kSt2, ws.ind2);

  for (int r = 0; r < t2.RowCount(); ++r) {
    for (int c = t2::kName; c <= t2::kSt2; ++c) t2.SetColor(r, c, colors::kWhite);
    t2.At(r, t2::kSt1).bold = false;
    t2.At(r, t2::kSt2).bold = false;
    const double shift = (1 - NumberOr1(t2.Text(r, t2::kStartOdd)) / t2.Number(r, t2::kOdd)) * 100;
    t2.SetText(r, t2::kShift, FormatFixed(shift, 0));
  }
  Highlight(t2, 0, t2::kSt1, ws.ind1);
  Highlight(t2, 1, t2::kSt2, ws.ind2);
}

}  // namespace trotix
