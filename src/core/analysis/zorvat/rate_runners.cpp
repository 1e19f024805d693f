#include "analysis/zorvat/rate_runners.h"

#include <algorithm>
#include <array>

#include "analysis/zorvat/race_numbers.h"
#include "analysis/zorvat/score_lookup.h"
#include "analysis/zorvat/words.h"
#include "model/columns.h"
#include "text/fields.h"
#include "text/strings.h"

namespace trotix {
namespace {

using Values = std::array<int, 6>;

std::string FirstChar(const std::string& s) {
  return s.substr(0, 1);
}

// Every matching line is applied, so the last one in the file wins.
void ApplyRecords(Table& H, int row, const std::string& key,
                  const std::vector<std::string>& processBase) {
  for (const auto& line : processBase) {
    if (FieldView(line, 1) != key) continue;
    for (int f = 2; f <= 15; ++f) H.SetText(row, h::kValuesI + f - 2, GetField(line, f));
  }
}

void ClearRunner(Table& H, int row) {
  H.SetText(row, h::kStatusI, "");
  H.SetText(row, h::kStatusII, "");
  for (int c = h::kValuesI; c <= h::kPtsII; ++c) H.SetText(row, c, "0");
  for (int c : {h::kPtsI, h::kPtsII}) {
    H.SetColor(row, c, colors::kYellow);
    H.At(row, c).bold = true;
  }
}

Values FoldedValues(const Table& H, int row, int firstCol) {
  Values w{};
  for (int i = 0; i < 6; ++i) w[i] = FoldNumber(H.Integer(row, firstCol + i));
  return w;
}

bool Among(int n, const int* first, int count) {
  return std::find(first, first + count, n) != first + count;
}

// The status of one part, or the empty text when some race number is missing from its values.
std::string PartStatus(const RaceNumbers& rn, const Values& w, int nh, int vh, std::string saved) {
  for (int n : rn.folded)
    if (!Among(n, w.data(), 6)) return {};
  std::string status = std::move(saved);
  const bool ow =
      std::all_of(rn.folded.begin(), rn.folded.end(), [&](int n) { return Among(n, w.data(), 3); });
  if (ow) {
    status += "O.W.";
  } else {
    const bool nhIs = IsRaceNumber(rn, nh), w3Is = IsRaceNumber(rn, w[2]);
    status += nhIs && w3Is ? "1" : w3Is ? "2" : nhIs ? "3" : "4";
    std::string mark = Mark(rn, w[2]);
    if (mark.empty()) mark = Mark(rn, w[1]);
    status += mark.empty() ? "x" : mark;
  }
  return status + BracketedMark(rn, vh);
}

// An O.W. runner's score is left open when its own numbers meet the race and the points echo
// "VH" or "DV".
bool QuestionRule(const RaceNumbers& rn, int nh, int vh, int pts) {
  return (IsRaceNumber(rn, nh) || IsRaceNumber(rn, vh)) && (pts == vh || pts == rn.folded[0]);
}

bool ExRule(const RaceNumbers& rn, const Values& a, const Values& b) {
  const int dv = rn.folded[0], fnh = rn.folded[1], id = rn.folded[2], vp = rn.folded[3];
  const auto inA = [&](int n) { return Among(n, a.data(), 3); };
  const auto inB = [&](int n) { return Among(n, b.data(), 3); };
  return inA(dv) && !inB(dv) && inB(fnh) && !inA(fnh) && (inA(vp) || inB(vp)) &&
         (inA(id) || inB(id));
}

std::string ExMark(const RaceNumbers& rn, int third, int second,
                   const std::array<int, 4>& secondOrder) {
  if (IsRaceNumber(rn, third)) return BracketedMark(rn, third);
  if (IsRaceNumber(rn, second)) return BracketedMark(rn, second, secondOrder);
  return "(x)";
}

struct ScoreSource {
  const std::vector<std::string>& base;
  const ScoreIndex* index;
  std::string Lookup(const RaceNumbers& rn, std::string_view status, const Values& w) const {
    return index ? index->Find(rn, status, w) : ScoreLookup(rn, base, status, w);
  }
};

bool HasZero(const Values& w) {
  return w[0] == 0 || w[1] == 0 || w[2] == 0;
}

void RatePartI(Table& H, int row, const RaceNumbers& rn, const ScoreSource& scores) {
  const Values w = FoldedValues(H, row, h::kValuesI);
  const int pts = FoldNumber(H.Integer(row, h::kPtsI));
  const int nh = FoldNumber(H.Integer(row, h::kNH));
  const int vh = FoldNumber(H.Integer(row, h::kVH));
  const std::string status = PartStatus(rn, w, nh, vh, H.Text(row, h::kStatusI));
  std::string score;
  if (Contains(status, "O.W")) {
    score = "0";
    if (QuestionRule(rn, nh, vh, pts)) score = "?";
  }
  if (score != "0") score = scores.Lookup(rn, status, w);
  H.SetText(row, h::kStatusI, status);
  H.SetText(row, h::kScore, score);
}

void RatePartII(Table& H, int row, const RaceNumbers& rn, const ScoreSource& scores) {
  const Values a = FoldedValues(H, row, h::kValuesI);
  const Values b = FoldedValues(H, row, h::kValuesII);
  const int pts = FoldNumber(H.Integer(row, h::kPtsII));
  const int nh = FoldNumber(H.Integer(row, h::kNH));
  const int vh = FoldNumber(H.Integer(row, h::kVH));
  std::string statusI = H.Text(row, h::kStatusI);
  std::string statusII = PartStatus(rn, b, nh, vh, H.Text(row, h::kStatusII));
  std::string score = H.Text(row, h::kScore);

  if (Contains(statusII, "O.W") && (score == "0" || score.empty())) {
    score = "0";
    if (QuestionRule(rn, nh, vh, pts)) score = "?";
  }
  if (statusI.empty() && statusII.empty() && ExRule(rn, a, b)) {
    statusI = "Ex." + ExMark(rn, a[2], a[1], kExOrder);
    statusII = "Ex." + ExMark(rn, b[2], b[1], kUsualOrder);
  }
  if (statusI.empty() && statusII.empty()) {
    if (HasZero(a)) statusI = "WINER!!!";
    if (HasZero(b)) {
      statusII = "WINER!!!";
      score = "Yes!";
    }
  }
  if (score == "?") score = scores.Lookup(rn, statusII, b);
  if (statusI.empty() && statusII.empty()) score.clear();

  H.SetText(row, h::kStatusI, statusI);
  H.SetText(row, h::kStatusII, statusII);
  H.SetText(row, h::kScore, score);
}

void ColourValues(Table& H, int row, int firstCol, bool rated, const RaceNumbers& rn) {
  for (int c = firstCol; c < firstCol + 6; ++c) {
    H.SetColor(row, c, colors::kWhite);
    if (!rated) continue;
    const int match = MatchRaceNumber(rn, H.Integer(row, c));
    if (match >= 0) H.SetColor(row, c, RaceNumberColor(match));
  }
}

}  // namespace

void RateRunners(Table& H, const Table& RF, const std::vector<std::string>& processBase,
                 const std::vector<std::string>& scoreBase, const ScoreIndex* index) {
  const int rows = H.RowCount();
  for (int row = 0; row < rows; ++row) {
    ClearRunner(H, row);
    const std::string key = FirstChar(H.Text(row, h::kNH)) + FirstChar(H.Text(row, h::kVH));
    ApplyRecords(H, row, key, processBase);
  }

  // Runners still without values try each race number in place of "NH".
  for (int col : {rf::kDV, rf::kFNH, rf::kID, rf::kVP}) {
    const std::string raceNumber = RF.RowCount() > 0 ? FirstChar(RF.Text(0, col)) : "0";
    for (int row = 0; row < rows; ++row) {
      if (H.Integer(row, h::kValuesI) != 0) continue;
      H.SetText(row, h::kStatusI, "U.");
      H.SetText(row, h::kStatusII, "U.");
      ApplyRecords(H, row, raceNumber + FirstChar(H.Text(row, h::kVH)), processBase);
    }
  }

  const RaceNumbers rn = ReadRaceNumbers(RF);
  const ScoreSource scores{scoreBase, index};
  for (int row = 0; row < rows; ++row) RatePartI(H, row, rn, scores);
  for (int row = 0; row < rows; ++row) RatePartII(H, row, rn, scores);
  for (int row = 0; row < rows; ++row) {
    ColourValues(H, row, h::kValuesI, !H.Text(row, h::kStatusI).empty(), rn);
    ColourValues(H, row, h::kValuesII, !H.Text(row, h::kStatusII).empty(), rn);
  }
}

}  // namespace trotix
