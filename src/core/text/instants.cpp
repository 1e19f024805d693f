#include "text/instants.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace trotix {
namespace {

std::optional<int> Digits(std::string_view text, std::size_t from, std::size_t count) {
  if (from + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::string UtcText(Instant at) {
  using namespace std::chrono;
  const auto day = floor<days>(at);
  const year_month_day ymd(day);
  const hh_mm_ss clock(at - day);
  char buf[40];
  std::snprintf(
      buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(ymd.year()),
      static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
      static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
      static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
  return buf;
}

std::optional<Instant> ParseUtcText(std::string_view t) {
  if (t.size() != 24 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' ||
      t[16] != ':' || t[19] != '.' || t[23] != 'Z')
    return std::nullopt;
  const auto y = Digits(t, 0, 4), mo = Digits(t, 5, 2), d = Digits(t, 8, 2), h = Digits(t, 11, 2),
             mi = Digits(t, 14, 2), s = Digits(t, 17, 2), ms = Digits(t, 20, 3);
  if (!y || !mo || !d || !h || !mi || !s || !ms || *h > 23 || *mi > 59 || *s > 59)
    return std::nullopt;
  using namespace std::chrono;
  const year_month_day ymd{year(*y), month(static_cast<unsigned>(*mo)),
                           day(static_cast<unsigned>(*d))};
  if (!ymd.ok()) return std::nullopt;
  return Instant(sys_days(ymd)) + hours(*h) + minutes(*mi) + seconds(*s) + milliseconds(*ms);
}

Instant UtcInstant(const Date& day, const TimeOfDay& time) {
  using namespace std::chrono;
  const sys_days date{year(day.year) / month(static_cast<unsigned>(day.month)) /
                      std::chrono::day(static_cast<unsigned>(day.day))};
  return Instant(date) + hours(time.hour) + minutes(time.minute) + seconds(time.second);
}

std::optional<Instant> OffInstant(const Date& day, std::string_view time, int offsetMinutes) {
  while (!time.empty() && time.front() == ' ') time.remove_prefix(1);
  while (!time.empty() && time.back() == ' ') time.remove_suffix(1);
  const auto colon = time.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2 || time.size() - colon != 3)
    return std::nullopt;
  const auto h = Digits(time, 0, colon), m = Digits(time, colon + 1, 2);
  if (!h || !m || *h > 23 || *m > 59) return std::nullopt;
  return UtcInstant(day, {*h, *m, 0}) - std::chrono::minutes(offsetMinutes);
}

std::string OffsetText(int offsetMinutes) {
  if (offsetMinutes == 0) return "UTC";
  const int a = std::abs(offsetMinutes);
  std::string text = std::string("UTC") + (offsetMinutes < 0 ? "-" : "+") + std::to_string(a / 60);
  if (a % 60 != 0) {
    char buf[8];
    std::snprintf(buf, sizeof buf, ":%02d", a % 60);
    text += buf;
  }
  return text;
}

std::optional<int> ParseOffsetText(std::string_view text) {
  if (text == "UTC") return 0;
  if (text.size() < 5 || text.substr(0, 3) != "UTC" || (text[3] != '+' && text[3] != '-'))
    return std::nullopt;
  const int sign = text[3] == '-' ? -1 : 1;
  std::string_view rest = text.substr(4);
  const auto colon = rest.find(':');
  const std::string_view hoursText = rest.substr(0, colon);
  int hours = 0, minutes = 0;
  if (hoursText.empty() || hoursText.size() > 2) return std::nullopt;
  if (std::from_chars(hoursText.data(), hoursText.data() + hoursText.size(), hours).ptr !=
      hoursText.data() + hoursText.size())
    return std::nullopt;
  if (colon != std::string_view::npos) {
    const auto m = Digits(rest, colon + 1, 2);
    if (!m || rest.size() != colon + 3 || (*m != 0 && *m != 30 && *m != 45)) return std::nullopt;
    minutes = *m;
  }
  const int total = hours * 60 + minutes;
  if (total > 14 * 60) return std::nullopt;
  return sign * total;
}

}  // namespace trotix
