#pragma once
// Number text with the decimal comma, independent of the machine's locale.
#include <optional>
#include <string>
#include <string_view>

namespace trotix {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
long long RoundHalfEven(double v);
int RoundToInt(double v);

// General form: up to 15 significant digits, no trailing zeros, whole values without
// decimals, comma as the decimal separator ("4", "4,5", "1,01").
std::string FormatGeneral(double v);
// Fixed notation with `decimals` digits (0-15) after `point` ("3.50", "-15"), whole for any
// finite value however large; empty for a value that is not finite. Every fixed-point text of
// the system is written through it.
std::string FormatFixedWith(double v, int decimals, char point);
// The same with the comma ("3,50", "5000,00", "-15").
std::string FormatFixed(double v, int decimals);
// Rounds to `digits` significant digits.
double RoundSignificant(double v, int digits);

// A decimal number with the comma as separator and an optional sign ("4", "-1,5", "1,01").
// Surrounding spaces are allowed; anything else gives no value.
std::optional<double> ParseDecimal(std::string_view text);
// A whole number with an optional sign; surrounding spaces allowed; anything else gives no value.
std::optional<long long> ParseInteger(std::string_view text);
// ParseInteger, or 0 when the text is no whole number.
int IntegerOrZero(std::string_view text);

}  // namespace trotix
