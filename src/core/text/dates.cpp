#include "text/dates.h"

#include <cstdio>

namespace trotix {
namespace {
bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int DaysIn(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}
}  // namespace

std::string FormatDate(const Date& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d.day, d.month, d.year);
  return buf;
}

std::string FormatDayMonth(const Date& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d.%02d", d.day, d.month);
  return buf;
}

std::optional<Date> ParseDate(std::string_view t) {
  if (t.size() != 10 || t[2] != '.' || t[5] != '.') return std::nullopt;
  auto num = [&](std::size_t from, std::size_t len) -> int {
    int v = 0;
    for (std::size_t i = from; i < from + len; ++i) {
      if (t[i] < '0' || t[i] > '9') return -1;
      v = v * 10 + (t[i] - '0');
    }
    return v;
  };
  const Date d{num(6, 4), num(3, 2), num(0, 2)};
  if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysIn(d.year, d.month))
    return std::nullopt;
  return d;
}

}  // namespace trotix
