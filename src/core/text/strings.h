#pragma once
// Small byte-string helpers shared by the parsers.
#include <string>
#include <string_view>
#include <vector>

namespace trotix {

// Removes spaces and control characters (every byte <= ' ') from both ends.
std::string Trim(std::string_view s);
// ASCII upper and lower case; other bytes unchanged.
std::string Upper(std::string_view s);
std::string Lower(std::string_view s);

// Splits a text into lines at CR LF, LF or CR; a final line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);
// Joins lines, each followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

bool Contains(std::string_view text, std::string_view part);

}  // namespace trotix
