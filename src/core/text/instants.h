#pragma once
// Instants in UTC, as the ledger stamps its events, and the off of a race: the vendor writes a
// race's time on the clock of its own zone, so the off is that time less the zone's offset.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "text/dates.h"

namespace trotix {

using Instant = std::chrono::sys_time<std::chrono::milliseconds>;

// The vendor's race times are Moscow time: UTC+3 all year.
inline constexpr int kMoscowOffsetMinutes = 180;

// "2026-12-08T10:15:02.123Z".
std::string UtcText(Instant at);
// Reads UtcText's form; none for anything else.
std::optional<Instant> ParseUtcText(std::string_view text);
// `day` at `time` of day taken as UTC.
Instant UtcInstant(const Date& day, const TimeOfDay& time);
// The off of the race at `time` ("14:35") on `day`, race times being `offsetMinutes` ahead of
// UTC; none when `time` is no time of day.
std::optional<Instant> OffInstant(const Date& day, std::string_view time, int offsetMinutes);

// "UTC+3", "UTC-5:30", "UTC" for offsets in minutes; and back, none for other texts.
std::string OffsetText(int offsetMinutes);
std::optional<int> ParseOffsetText(std::string_view text);

}  // namespace trotix
