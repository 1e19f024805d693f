#include "text/country.h"

#include <array>
#include <utility>

namespace trotix {

int CourseCountry(std::string_view country) {
  static constexpr std::array<std::pair<std::string_view, int>, 9> kFlags{{
      {"England", 1},
      {"Ireland", 2},
      {"France", 3},
      {"UAE", 4},
      {"India", 5},
      {"South Africa", 6},
      {"USA", 0},
      {"Australia", 7},
      {"Hong Kong", 8},
  }};
  for (const auto& [name, index] : kFlags)
    if (name == country) return index;
  return 0;
}

}  // namespace trotix
