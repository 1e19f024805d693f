#pragma once
// The limits of the number settings: one rule each, applied to the command line of both front
// ends, the window's settings file and its dialog alike, so a value refused in one place is
// refused everywhere.
#include <string>
#include <string_view>

namespace trotix {

enum class RunSetting { kCommissionPercent, kDeadlineSeconds, kRefreshMinutes, kMaxConnections };

struct SettingRule {
  const char* name;  // as messages name it
  const char* unit;  // after a value in messages
  double low;        // the smallest value allowed
  double top;        // the largest value allowed: what a kept value above it becomes
  // The bound a value must stay below instead of `top` (the commission: below 100 %); zero for
  // none.
  double below;
  bool whole;  // whole numbers only
};

const SettingRule& RuleOf(RunSetting setting);

// Why `value` is not allowed; empty when it is. Not a number is never allowed.
std::string CheckSetting(RunSetting setting, double value);

// The command line's text as a value: empty when allowed, else why not ("commission must be …,
// not nan").
std::string CheckSettingText(RunSetting setting, std::string_view text);

// A kept value made usable: one beyond a limit becomes that limit, one that is not a number (or
// not whole where it must be) `fallback`. `note` says what was changed; empty when nothing was.
struct ClampedSetting {
  double value = 0;
  std::string note;
};
ClampedSetting ClampSetting(RunSetting setting, double value, double fallback);

}  // namespace trotix
