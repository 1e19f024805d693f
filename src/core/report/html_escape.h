#pragma once
#include <string>
#include <string_view>

namespace trotix {

// Text from data made safe inside an HTML page or a quoted attribute: & < > " as entities.
std::string HtmlEscape(std::string_view text);

// The saved pages are UTF-8 and say so at the start of their first line.
inline constexpr std::string_view kPageCharset = "<meta charset=\"utf-8\">";
// Text from data for a saved page: decoded as the screen shows it, then escaped.
std::string PageText(std::string_view text);

}  // namespace trotix
