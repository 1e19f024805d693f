#include "text/name_number.h"

#include <string>

#include "text/strings.h"

namespace trotix {
namespace {

bool IsVowel(char c) {
  return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U' || c == 'Y';
}

int DigitSum(long long n) {
  int sum = 0;
  for (; n > 0; n /= 10) sum += static_cast<int>(n % 10);
  return sum;
}

// Value of the character at 0-based index i; C, S, R and O depend on their position.
int CharValue(const std::string& s, std::size_t i) {
  const char c = s[i];
  const bool first = i == 0;
  const bool hasNext = i + 1 < s.size();
  switch (c) {
    case 'A':
    case 'I':
    case 'Y':
      return 1;
    case 'B':
    case 'K':
      return 2;
    case 'G':
    case 'J':
    case 'L':
    case 'Q':
      return 3;
    case 'D':
    case 'M':
    case 'T':
      return 4;
    case 'E':
    case 'N':
      return 5;
    case 'U':
    case 'V':
    case 'W':
      return 6;
    case 'X':
    case 'Z':
      return 7;
    case 'F':
    case 'H':
    case 'P':
      return 8;
    case 'R':
      return first ? 2 : 4;
    case 'O':
      return first ? 7 : 8;
    case 'C':
      if (!first) return 3;
      if (!hasNext) return 0;
      return IsVowel(s[i + 1]) ? 2 : 3;
    case 'S':
      if (!first) return 6;
      if (!hasNext) return 0;
      return IsVowel(s[i + 1]) ? 3 : 6;
    default:
      if (c >= '1' && c <= '9') return c - '0';
      return 0;
  }
}

}  // namespace

int NameNumber(std::string_view text) {
  const std::string s = Upper(text);
  long long sum = 0;
  for (std::size_t i = 0; i < s.size(); ++i) sum += CharValue(s, i);
  for (int i = 0; i < 10 && sum > 9; ++i) sum = DigitSum(sum);
  return static_cast<int>(sum);
}

int DigitalRoot(long long n) {
  while (n > 9) n = DigitSum(n);
  return static_cast<int>(n < 0 ? 0 : n);
}

}  // namespace trotix
