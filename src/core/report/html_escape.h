#pragma once
#include <string>
#include <string_view>

namespace trotix {

// Text from data made safe inside an HTML page or a quoted attribute: & < > " as entities.
std::string HtmlEscape(std::string_view text);

}  // namespace trotix
