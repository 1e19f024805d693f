#include "options/settings_rules.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace trotix {
namespace {

// Values as the messages show them: whole numbers without decimals.
std::string Shown(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  return buf;
}

std::string RangeText(const SettingRule& r) {
  if (r.below > 0) return "from " + Shown(r.low) + " to below " + Shown(r.below) + " " + r.unit;
  return "from " + Shown(r.low) + " to " + Shown(r.top) + " " + r.unit;
}

std::string Refusal(const SettingRule& r, std::string_view given) {
  std::string text = std::string(r.name) + " must be ";
  if (r.whole) text += "a whole number ";
  return text + RangeText(r) + ", not " + std::string(given);
}

bool Allowed(const SettingRule& r, double value) {
  if (std::isnan(value) || value < r.low) return false;
  if (r.whole && value != std::floor(value)) return false;
  return r.below > 0 ? value < r.below : value <= r.top;
}

}  // namespace

const SettingRule& RuleOf(RunSetting setting) {
  // A command may wait a day at most; beyond it a deadline means nothing and only risks the
  // clock's arithmetic.
  static const SettingRule kCommission{"commission", "per cent", 0, 99.9, 100, false};
  static const SettingRule kDeadline{"deadline", "seconds (0: none)", 0, 86400, 0, true};
  static const SettingRule kRefresh{"refresh", "minutes (0: off)", 0, 1440, 0, true};
  static const SettingRule kConnections{"connections", "at once", 1, 64, 0, true};
  switch (setting) {
    case RunSetting::kCommissionPercent:
      return kCommission;
    case RunSetting::kDeadlineSeconds:
      return kDeadline;
    case RunSetting::kRefreshMinutes:
      return kRefresh;
    case RunSetting::kMaxConnections:
      break;
  }
  return kConnections;
}

std::string CheckSetting(RunSetting setting, double value) {
  const SettingRule& r = RuleOf(setting);
  return Allowed(r, value) ? std::string() : Refusal(r, Shown(value));
}

std::string CheckSettingText(RunSetting setting, std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || !Allowed(RuleOf(setting), value))
    return Refusal(RuleOf(setting), text);
  return {};
}

ClampedSetting ClampSetting(RunSetting setting, double value, double fallback) {
  const SettingRule& r = RuleOf(setting);
  if (Allowed(r, value)) return {value, {}};
  double used = fallback;
  if (!std::isnan(value) && (!r.whole || value == std::floor(value) || std::isinf(value)))
    used = value < r.low ? r.low : r.top;
  return {used, "The kept " + std::string(r.name) + " " + Shown(value) + " is not " + RangeText(r) +
                    ": " + Shown(used) + " is used"};
}

}  // namespace trotix
