#pragma once
#include <string_view>

#include "model/pictures.h"

namespace trotix {

// Flag picture of a country's text; exact, case-sensitive. "USA" and every unlisted country
// share picture::kUsa.
picture::Flag CourseCountry(std::string_view country);

}  // namespace trotix
