#pragma once
// How the archive's tables keep a day ("2026-12-08": the text sorts as the days do) and read a
// number that may be NULL.
#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <optional>
#include <string>

#include "text/dates.h"

namespace trotix {

inline std::string IsoDay(const Date& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

inline Date DayOfIso(const std::string& text) {
  Date d;
  std::sscanf(text.c_str(), "%d-%d-%d", &d.year, &d.month, &d.day);
  return d;
}

inline std::optional<double> OptionalDouble(const SQLite::Column& c) {
  if (c.isNull()) return std::nullopt;
  return c.getDouble();
}

}  // namespace trotix
