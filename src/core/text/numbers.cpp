#include "text/numbers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "text/strings.h"

namespace trotix {

long long RoundHalfEven(double v) {
  if (!std::isfinite(v)) return 0;
  // A number text of many digits gives a double beyond every integer: saturate, not overflow.
  constexpr double kLimit = 9223372036854775807.0;  // 2^63, the first double out of range
  if (v >= kLimit) return std::numeric_limits<long long>::max();
  if (v <= -kLimit) return std::numeric_limits<long long>::min();
  const double r = std::round(v);  // halves away from zero
  if (std::fabs(v - std::trunc(v)) == 0.5) {
    const double down = std::trunc(v);
    return static_cast<long long>(std::fmod(down, 2.0) == 0.0 ? down : r);
  }
  return static_cast<long long>(r);
}

int RoundToInt(double v) {
  const long long r = RoundHalfEven(v);
  if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (r < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

namespace {
std::string CommaFor(std::string s) {
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}
}  // namespace

std::string FormatGeneral(double v) {
  if (v == 0 || !std::isfinite(v)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return CommaFor(buf);
}

std::string FormatFixedWith(double v, int decimals, char point) {
  if (!std::isfinite(v)) return {};
  decimals = std::clamp(decimals, 0, 15);
  // Room for the largest double written out whole: 309 digits, sign, point and decimals.
  char buf[std::numeric_limits<double>::max_exponent10 + 24];
  const auto [end, error] =
      std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (error != std::errc{}) return {};
  std::string s(buf, end);
  if (const auto dot = s.find('.'); dot != std::string::npos) s[dot] = point;
  // "-0" and "-0,00" read as zero.
  if (s[0] == '-' && s.find_first_not_of(std::string("0") + point, 1) == std::string::npos)
    s.erase(0, 1);
  return s;
}

std::string FormatFixed(double v, int decimals) {
  return FormatFixedWith(v, decimals, ',');
}

double RoundSignificant(double v, int digits) {
  if (v == 0 || !std::isfinite(v)) return v;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
  return std::strtod(buf, nullptr);
}

std::optional<double> ParseDecimal(std::string_view text) {
  const std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  std::size_t i = 0;
  if (t[0] == '+' || t[0] == '-') ++i;
  bool digits = false, comma = false;
  for (std::size_t j = i; j < t.size(); ++j) {
    if (t[j] >= '0' && t[j] <= '9') {
      digits = true;
    } else if (t[j] == ',' && !comma) {
      comma = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  std::string c = t;
  for (char& ch : c)
    if (ch == ',') ch = '.';
  return std::strtod(c.c_str(), nullptr);
}

std::optional<long long> ParseInteger(std::string_view text) {
  const std::string t = Trim(text);
  std::size_t i = 0;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) ++i;
  if (i == t.size()) return std::nullopt;
  for (std::size_t j = i; j < t.size(); ++j)
    if (t[j] < '0' || t[j] > '9') return std::nullopt;
  errno = 0;
  const long long v = std::strtoll(t.c_str(), nullptr, 10);
  if (errno == ERANGE) return std::nullopt;
  return v;
}

int IntegerOrZero(std::string_view text) {
  const auto v = ParseInteger(text);
  if (!v || *v > std::numeric_limits<int>::max() || *v < std::numeric_limits<int>::min()) return 0;
  return static_cast<int>(*v);
}

}  // namespace trotix
