#pragma once
#include <string_view>

namespace trotix {

// The form figures reduced to one score: a win counts 100, each place below 10 less, "0" 10,
// letters nothing; the mean over the counted characters ("-" and "/" only separate runs).
int FormScore(std::string_view form);

}  // namespace trotix
