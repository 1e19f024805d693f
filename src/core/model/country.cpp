#include "model/country.h"

#include <array>
#include <utility>

namespace trotix {

picture::Flag CourseCountry(std::string_view country) {
  using namespace picture;
  static constexpr std::array<std::pair<std::string_view, Flag>, 9> kFlags{{
      {"England", kEngland},
      {"Ireland", kIreland},
      {"France", kFrance},
      {"UAE", kUae},
      {"India", kIndia},
      {"South Africa", kSouthAfrica},
      {"USA", kUsa},
      {"Australia", kAustralia},
      {"Hong Kong", kHongKong},
  }};
  for (const auto& [name, flag] : kFlags)
    if (name == country) return flag;
  return kUsa;
}

}  // namespace trotix
