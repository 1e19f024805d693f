#include "analysis/form_score.h"

#include "text/numbers.h"

namespace trotix {

int FormScore(std::string_view form) {
  int points = 0;
  int count = 0;
  for (char c : form) {
    if (c == '-' || c == '/') continue;
    ++count;
    if (c == '0') {
      points += 10;
    } else if (c >= '1' && c <= '9') {
      points += 100 - (c - '1') * 10;
    }
  }
  if (count == 0) return 0;
  return RoundToInt(static_cast<double>(points) / count);
}

}  // namespace trotix
