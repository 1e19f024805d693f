#pragma once
// Words of race and horse names, and the numbers Zorvat derives from them.
#include <string>
#include <string_view>
#include <vector>

namespace trotix {

// Words that are followed by a space; the text's last character is never examined, so callers
// that need every word append " 0" first. Adjacent spaces give empty words.
std::vector<std::string> SplitWords(std::string_view text);

// Every word followed by one space.
std::string JoinWords(const std::vector<std::string>& words);

// Each word lower-cased with its first letter upper-cased, joined by single spaces, trimmed.
std::string CapitalizeWords(const std::vector<std::string>& words);

// DigitalRoot of the sum of the words' NameNumber.
int WordsNumber(const std::vector<std::string>& words);

// Value of one letter, without regard to case; 0 for anything but a Latin letter.
int LetterValue(char c);

// 4 counts as 1 and 7 as 2 wherever values are compared.
int FoldNumber(int n);

}  // namespace trotix
