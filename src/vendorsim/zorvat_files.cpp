#include "vendorsim/zorvat_files.h"

#include <cstdio>

#include "vendorsim/rng.h"

namespace trotix::vendorsim {
namespace {

constexpr std::string_view kEol = "\r\n";
const char* const kBracketed[] = {"(A)", "(B)", "(a)", "(c)", "(x)"};
const char* const kMarks[] = {"A", "B", "a", "c", "x"};

// Letter code of a set of race numbers: bit 0 D, 1 F, 2 I, 3 V; the empty set is "x".
std::string Code(int bits) {
  std::string s;
  if (bits & 1) s += 'D';
  if (bits & 2) s += 'F';
  if (bits & 4) s += 'I';
  if (bits & 8) s += 'V';
  return s.empty() ? "x" : s;
}

int ScoreValue(Rng& rng) {
  const double c = rng.Real();
  return c < 0.15 ? 0 : c < 0.6 ? rng.Int(1, 4) : c < 0.9 ? rng.Int(5, 8) : rng.Int(9, 12);
}

}  // namespace

std::vector<std::string> ScoringStatuses() {
  std::vector<std::string> out;
  for (const char* u : {"", "U."}) {
    for (const char* b : kBracketed) out.push_back(std::string(u) + "O.W." + b);
    for (char digit = '1'; digit <= '4'; ++digit)
      for (const char* m : kMarks)
        for (const char* b : kBracketed) out.push_back(std::string(u) + digit + m + b);
  }
  for (const char* b : kBracketed) out.push_back(std::string("Ex.") + b);
  return out;
}

std::string ProcessBaseText(uint64_t seed) {
  Rng rng = Rng::For(seed, HashText("processbasa"));
  std::string out;
  auto line = [&](int key) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", key);
    out += buf;
    out += ">>";
    for (int part = 0; part < 2; ++part) {
      for (int i = 0; i < 6; ++i) {
        // A first value of 0 sends the scoring on to its fallback keys.
        const int v = (part == 0 && i == 0 && rng.Chance(0.08)) ? 0 : rng.Int(0, 9);
        out += static_cast<char>('0' + v);
        out += ">>";
      }
      out += static_cast<char>('0' + rng.Int(0, 9));
      out += ">>";
    }
    out += kEol;
  };
  for (int key = 0; key <= 99; ++key) line(key);
  // A key listed twice: the later line is the one that counts.
  line(rng.Int(11, 99));
  return out;
}

std::string ScoreBaseText(uint64_t seed) {
  Rng rng = Rng::For(seed, HashText("score"));
  std::string out;
  auto line = [&](const std::string& status, int code1, int code2) {
    // The vendor's table has gaps; a missing line scores "?".
    if (!rng.Chance(0.88)) return;
    out += status + ">>" + Code(code1) + ">>" + Code(code2) + ">>" +
           std::to_string(ScoreValue(rng)) + ">>";
    out += kEol;
  };
  for (const std::string& status : ScoringStatuses()) {
    const bool ex = status.rfind("Ex.", 0) == 0;
    const bool ow = status.find("O.W.") != std::string::npos;
    for (int c1 = 0; c1 < 16; ++c1) {
      for (int c2 = 0; c2 < 16; ++c2) {
        if (ow) {
          // All four race numbers among the first three values.
          if (c1 == 15) line(status, c1, c2);
        } else if (ex) {
          // DV without FNH among the first three, or the other way round.
          if (((c1 & 1) != 0) != ((c1 & 2) != 0)) line(status, c1, c2);
        } else if ((c1 | c2) == 15 && c1 != 15) {
          line(status, c1, c2);
        }
      }
    }
  }
  // A few lines for runners without a status.
  for (int i = 0; i < 24; ++i) line("", rng.Int(0, 15), rng.Int(0, 15));
  return out;
}

std::string DayValuesText(uint64_t seed) {
  Rng rng = Rng::For(seed, HashText("dvbasa"));
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::string out;
  for (int m = 1; m <= 12; ++m) {
    for (int d = 1; d <= kDays[m - 1]; ++d) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%02d.%02d", d, m);
      out += buf;
      out += ">>";
      // Mostly one digit; now and then two, which the scoring reduces to one.
      out += std::to_string(rng.Chance(0.04) ? rng.Int(10, 19) : rng.Int(1, 9));
      out += ">>";
      out += kEol;
    }
  }
  return out;
}

}  // namespace trotix::vendorsim
