// The limits of the number settings, as the command line, the settings file and the dialog
// take them.
#include "options/settings_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace trotix {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(SettingsRules, CommandLineTextIsAllowedOrRefusedWithWhy) {
  struct Case {
    RunSetting setting;
    const char* text;
    bool allowed;
  };
  const Case cases[] = {
      {RunSetting::kCommissionPercent, "0", true},
      {RunSetting::kCommissionPercent, "5", true},
      {RunSetting::kCommissionPercent, "99.99", true},
      {RunSetting::kCommissionPercent, "100", false},  // would leave nothing of a winner
      {RunSetting::kCommissionPercent, "150", false},
      {RunSetting::kCommissionPercent, "-1", false},
      {RunSetting::kCommissionPercent, "nan", false},
      {RunSetting::kCommissionPercent, "inf", false},
      {RunSetting::kCommissionPercent, "5%", false},
      {RunSetting::kCommissionPercent, "", false},
      {RunSetting::kDeadlineSeconds, "0", true},  // none
      {RunSetting::kDeadlineSeconds, "86400", true},
      {RunSetting::kDeadlineSeconds, "86401", false},
      {RunSetting::kDeadlineSeconds, "-1", false},
      {RunSetting::kDeadlineSeconds, "1.5", false},
      {RunSetting::kRefreshMinutes, "0", true},  // off
      {RunSetting::kRefreshMinutes, "1440", true},
      {RunSetting::kRefreshMinutes, "71583", false},
      {RunSetting::kMaxConnections, "1", true},
      {RunSetting::kMaxConnections, "64", true},
      {RunSetting::kMaxConnections, "0", false},
      {RunSetting::kMaxConnections, "65", false},
  };
  for (const Case& c : cases) {
    const std::string why = CheckSettingText(c.setting, c.text);
    EXPECT_EQ(why.empty(), c.allowed) << c.text << ": " << why;
    if (!c.allowed) {
      EXPECT_NE(why.find(RuleOf(c.setting).name), std::string::npos) << why;
      EXPECT_NE(why.find(std::string("not ") + c.text), std::string::npos) << why;
    }
  }
  EXPECT_EQ(CheckSettingText(RunSetting::kCommissionPercent, "150"),
            "commission must be from 0 to below 100 per cent, not 150");
  EXPECT_EQ(CheckSettingText(RunSetting::kMaxConnections, "0"),
            "connections must be a whole number from 1 to 64 at once, not 0");
}

TEST(SettingsRules, KeptValuesAreBroughtWithinTheirLimitsAndSaidSo) {
  struct Case {
    RunSetting setting;
    double kept, fallback, used;
  };
  const Case cases[] = {
      {RunSetting::kCommissionPercent, 5, 5, 5},
      {RunSetting::kCommissionPercent, 150, 5, 99.9},
      {RunSetting::kCommissionPercent, 100, 5, 99.9},
      {RunSetting::kCommissionPercent, -3, 5, 0},
      {RunSetting::kCommissionPercent, kNan, 5, 5},
      {RunSetting::kDeadlineSeconds, -1, 300, 0},
      {RunSetting::kDeadlineSeconds, 45, 300, 45},
      {RunSetting::kDeadlineSeconds, 2.5, 300, 300},
      {RunSetting::kRefreshMinutes, 71583, 0, 1440},
      {RunSetting::kRefreshMinutes, kInf, 0, 1440},
      {RunSetting::kMaxConnections, 0, 8, 1},
      {RunSetting::kMaxConnections, 1000, 8, 64},
  };
  for (const Case& c : cases) {
    const ClampedSetting checked = ClampSetting(c.setting, c.kept, c.fallback);
    EXPECT_EQ(checked.value, c.used) << RuleOf(c.setting).name << " " << c.kept;
    const bool changed = !(c.kept == c.used);  // nan is never equal
    EXPECT_EQ(checked.note.empty(), !changed) << checked.note;
    EXPECT_TRUE(CheckSetting(c.setting, checked.value).empty()) << checked.value;
  }
  EXPECT_EQ(ClampSetting(RunSetting::kCommissionPercent, 150, 5).note,
            "The kept commission 150 is not from 0 to below 100 per cent: 99.9 is used");
}

}  // namespace
}  // namespace trotix
