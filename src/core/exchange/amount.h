#pragma once
#include <string_view>

namespace trotix {

// The amount held by a text made only of digits and commas; -1 for an empty text, one with any
// other character (sign, point, space, letter) or one that does not convert ("1,2,3", ",").
double StrToAmount(std::string_view text);

}  // namespace trotix
