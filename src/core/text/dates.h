#pragma once
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace trotix {

struct Date {
  int year = 2000;
  int month = 1;
  int day = 1;
  // Earlier days first.
  auto operator<=>(const Date&) const = default;
};

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0;
  bool operator==(const TimeOfDay&) const = default;
};

// "dd.mm.yyyy", the text of the date field.
std::string FormatDate(const Date& d);
// "dd.mm", day and month.
std::string FormatDayMonth(const Date& d);
// "hh:mm:ss".
std::string FormatTime(const TimeOfDay& t);
// Reads "dd.mm.yyyy"; no value for anything else or a day that does not exist.
std::optional<Date> ParseDate(std::string_view text);
// The calendar day `days` days later (earlier when negative).
Date AddDays(const Date& d, int days);

}  // namespace trotix
