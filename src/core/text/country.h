#pragma once
#include <string_view>

namespace trotix {

// Flag picture index 0-8 of a country's text; exact, case-sensitive. "USA" and every
// unlisted country share index 0.
int CourseCountry(std::string_view country);

}  // namespace trotix
