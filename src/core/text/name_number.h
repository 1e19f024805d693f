#pragma once
#include <string_view>

namespace trotix {

// Reduces a name to one digit (0 for a name without valued characters, else 1-9).
int NameNumber(std::string_view text);

// Sum of decimal digits, repeated while more than one digit is left (0 stays 0).
int DigitalRoot(long long n);

}  // namespace trotix
