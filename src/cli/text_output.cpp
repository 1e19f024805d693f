#include "text_output.h"

#include <algorithm>
#include <vector>

#include "model/prices.h"
#include "proof/significance.h"
#include "text/dates.h"
#include "text/encoding.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

// Display width of UTF-8 text: one column per code point.
std::size_t Width(const std::string& s) {
  return static_cast<std::size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string CellText(const Table& t, int r, int c) {
  if (t.Columns()[c].kind == ColumnKind::Image) {
    const Cell& cell = t.At(r, c);
    return cell.hint.empty() ? std::to_string(cell.image) : PrintableText(cell.hint);
  }
  return PrintableText(t.Text(r, c));
}

Table TextTable(std::initializer_list<const char*> captions) {
  std::vector<Column> columns;
  for (const char* caption : captions)
    columns.push_back(Column{caption, ColumnKind::Text, false, {}});
  return Table(std::move(columns));
}

void AddTextRow(Table& table, const std::vector<std::string>& texts) {
  const int r = table.AddRow();
  for (int c = 0; c < table.ColumnCount(); ++c) table.SetText(r, c, texts.at(c));
}

// The code point of a direction mark or override, or of a line or paragraph separator, that
// starts at `at` in UTF-8 text; 0 for any other character. They reorder or break what a
// terminal shows after them, so a name could pass itself off as other text.
unsigned FormattingMarkAt(std::string_view text, std::size_t at) {
  if (at + 1 < text.size() && text.compare(at, 2, "\xD8\x9C") == 0) return 0x061C;
  if (at + 2 >= text.size() || static_cast<unsigned char>(text[at]) != 0xE2) return 0;
  const unsigned code = 0x2000 + ((static_cast<unsigned char>(text[at + 1]) & 0x3F) << 6) +
                        (static_cast<unsigned char>(text[at + 2]) & 0x3F);
  const bool marks = code == 0x200E || code == 0x200F || (code >= 0x2028 && code <= 0x202E) ||
                     (code >= 0x2066 && code <= 0x2069);
  const bool continued = (static_cast<unsigned char>(text[at + 1]) & 0xC0) == 0x80 &&
                         (static_cast<unsigned char>(text[at + 2]) & 0xC0) == 0x80;
  return continued && marks ? code : 0;
}

}  // namespace

std::string PrintableText(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  const std::string text = DisplayUtf8(bytes);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (const unsigned mark = c >= 0xC0 ? FormattingMarkAt(text, i) : 0) {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(mark >> shift) & 15];
      i += mark < 0x800 ? 1 : 2;
      continue;
    }
    // C1 controls arrive as C2 80 to C2 9F.
    const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (c >= 0x20 && c != 0x7F && !c1) {
      out += text[i];
      continue;
    }
    const unsigned code = c1 ? static_cast<unsigned char>(text[++i]) : c;
    switch (code) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c1 ? "\\u00" : "\\x";
        out += kHex[code >> 4];
        out += kHex[code & 15];
    }
  }
  return out;
}

void PrintTable(std::ostream& out, const std::string& name, const Table& table) {
  std::vector<int> shown;
  for (int c = 0; c < table.ColumnCount(); ++c)
    if (!table.Columns()[c].hidden) shown.push_back(c);

  std::vector<std::vector<std::string>> lines(1);
  for (int c : shown) lines[0].push_back(PrintableText(table.Columns()[c].caption));
  for (int r = 0; r < table.RowCount(); ++r) {
    lines.emplace_back();
    for (int c : shown) lines.back().push_back(CellText(table, r, c));
  }
  std::vector<std::size_t> widths(shown.size(), 0);
  for (const auto& line : lines)
    for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], Width(line[i]));

  out << name << " (" << table.RowCount() << " rows)\n";
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
      text += line[i];
      if (i + 1 < line.size()) text += std::string(widths[i] - Width(line[i]) + 2, ' ');
    }
    out << text << '\n';
  }
  out << '\n';
}

std::string ProgressLine(const RaceStep& step) {
  // The run as its action is spelt.
  std::string action = Lower(step.run);
  std::replace(action.begin(), action.end(), ' ', '-');
  return action + " " + std::to_string(step.race) + "/" + std::to_string(step.races) + " " +
         PrintableText(step.name) + ": " + std::to_string(step.rowsAdded) +
         (step.rowsAdded == 1 ? " row" : " rows");
}

void PrintPicks(std::ostream& out, const std::vector<Pick>& picks) {
  Table table = TextTable({"Day", "Time", "Course", "Runner", "System", "Odds", "Price", "Source",
                           "Result", "Pos", "SP"});
  const auto price = [](const std::optional<double>& v) {
    const auto real = RealPrice(v);
    return real ? FormatFixed(*real, 2) : std::string();
  };
  for (const Pick& p : picks) {
    const int r = table.AddRow();
    const std::string source =
        p.source == PickSource::kLive ? "live" : "backtest " + std::to_string(p.runId);
    const std::string texts[] = {FormatDate(p.day),
                                 p.time,
                                 p.course,
                                 p.runner,
                                 p.system,
                                 p.odds,
                                 price(p.price),
                                 source,
                                 p.withdrawn ? "withdrawn"
                                 : p.late    ? std::string("late, ") + PickResultName(p.result)
                                             : PickResultName(p.result),
                                 p.position > 0 ? std::to_string(p.position) : "",
                                 price(p.sp)};
    for (int c = 0; c < table.ColumnCount(); ++c) table.SetText(r, c, texts[c]);
  }
  PrintTable(out, "PICKS", table);
}

namespace {

// What the figures rest on: against the prices when picked, runs against those to expect, and
// the profit without the biggest winner.
void PrintProofSignificance(std::ostream& out, const std::string& name,
                            const std::vector<proof::MethodFigures>& methods) {
  Table table =
      TextTable({"Method", "Expected", "Archie", "p", "Losing run", "Expected run",
                 "Drawdown in runs", "P/L SP w/o top", "P/L Kf w/o top", "Top 1 % share"});
  for (const proof::MethodFigures& f : methods) {
    std::string archie = FixedText(f.archie);
    if (f.pricedBets > 0 && f.expectedWinners < proof::kArchieFewestExpected) archie += " (few)";
    AddTextRow(table, {f.method, FixedText(f.expectedWinners), archie, FixedText(f.archieP, 3),
                       std::to_string(f.longestLosingRun), FixedText(f.expectedLongestLosingRun, 1),
                       FixedText(f.drawdownInLosingRuns), PointsText(f.profitSPWithoutTop),
                       PointsText(f.profitPriceWithoutTop), PercentText(f.topShareOfProfit)});
  }
  PrintTable(out, name, table);
}

}  // namespace

void PrintProof(std::ostream& out, const ProofSide& side, std::optional<proof::Breakdown> by) {
  const std::string source =
      side.source == PickSource::kLive ? "live" : "backtest " + std::to_string(side.runId);
  if (by) {
    Table table = TextTable({proof::BreakdownName(*by), "Method", "Bets", "Won", "Strike", "P/L SP",
                             "ROI SP", "Priced", "P/L Kf", "ROI Kf", "A/E", "Archie p", "Luck"});
    for (const proof::GroupFigures& g : side.groups)
      for (const proof::MethodFigures& f : g.methods)
        AddTextRow(table,
                   {g.group, f.method, std::to_string(f.bets), std::to_string(f.winners),
                    PercentText(f.strikeRate), PointsText(f.profitSP), PercentText(f.roiSP),
                    std::to_string(f.pricedBets), PointsText(f.profitPrice),
                    PercentText(f.roiPrice), FixedText(f.aE),
                    f.pricedBets > 0 ? FixedText(f.archieP, 3) : "—", LuckText(f.luckOneIn)});
    PrintTable(out, "PROOF " + source + " by " + proof::BreakdownName(*by), table);
    if (side.pending > 0) out << side.pending << " picks not yet settled are left out\n";
    return;
  }
  Table table =
      TextTable({"Method", "Bets", "Won", "Strike", "95 % interval", "P/L SP", "ROI SP", "Priced",
                 "P/L Kf", "ROI Kf", "A/E", "Placed", "Void", "Losing run", "Drawdown", "Luck"});
  for (const proof::MethodFigures& f : side.methods)
    AddTextRow(table, {f.method, std::to_string(f.bets), std::to_string(f.winners),
                       PercentText(f.strikeRate),
                       PercentText(f.wilsonLow) + " - " + PercentText(f.wilsonHigh),
                       PointsText(f.profitSP), PercentText(f.roiSP), std::to_string(f.pricedBets),
                       PointsText(f.profitPrice), PercentText(f.roiPrice), FixedText(f.aE),
                       PercentText(f.bets > 0 ? static_cast<double>(f.placed) / f.bets : 0),
                       std::to_string(f.voids), std::to_string(f.longestLosingRun),
                       FixedText(f.maxDrawdown), LuckText(f.luckOneIn)});
  PrintTable(out, "PROOF " + source, table);
  PrintProofSignificance(out, "AGAINST PRICES WHEN PICKED " + source, side.methods);
  out << "A/E, Archie and luck (exact) are taken against the prices when picked; P/L SP and runs "
         "over every settled bet\n";
  if (side.pending > 0) out << side.pending << " picks not yet settled are left out\n";
}

void PrintPickLines(std::ostream& out, const std::string& method,
                    const std::vector<PickLine>& lines) {
  Table table =
      TextTable({"Date", "Time", "Course", "Runner", "Price", "Result", "SP", "Profit", "Total"});
  const auto number = [](const std::optional<double>& v) {
    return v ? FixedText(*v) : std::string();
  };
  for (const PickLine& l : lines) {
    const proof::Bet& b = l.bet;
    AddTextRow(table, {FormatDate(b.date), b.time, b.course, b.runner, number(b.price),
                       l.apart.empty() ? proof::ResultName(b.result) : l.apart, number(b.sp),
                       l.profit ? PointsText(*l.profit) : std::string(), PointsText(l.total)});
  }
  PrintTable(out, PrintableText(method), table);
}

void PrintBacktest(std::ostream& out, const BacktestSummary& s) {
  for (const BacktestDay& d : s.done) {
    out << "backtest " << FormatDate(d.day) << ": " << d.races << " races, " << d.picks
        << " picks, " << d.settled << " settled"
        << (d.fromRealOdds ? ", from real odds" : ", without real odds");
    if (!d.note.empty()) out << "; " << PrintableText(d.note);
    out << '\n';
  }
  out << "backtest run " << s.runId << ": " << s.done.size() << " of " << s.days << " stored days"
      << (s.cancelled ? ", cancelled" : "") << '\n';
}

}  // namespace trotix
