#pragma once
#include <string_view>

#include "text/strings.h"

namespace trotix {

// Runners and races are looked up across tables by their names, upper-cased on both sides.
inline bool SameName(std::string_view a, std::string_view b) {
  return Upper(a) == Upper(b);
}

}  // namespace trotix
