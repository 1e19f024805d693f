#pragma once
// The limits of settings_rules.h as a check of a command-line option.
#include <CLI/CLI.hpp>

#include "options/settings_rules.h"

namespace trotix {

inline CLI::Validator Within(RunSetting setting) {
  return CLI::Validator([setting](std::string& text) { return CheckSettingText(setting, text); },
                        RuleOf(setting).unit);
}

}  // namespace trotix
