#include "app/view_state.h"

namespace trotix {

const char* PageCaption(int page) {
  static const char* const kCaptions[kPageCount] = {
      "Today", "Select Course", "Stats Horse", "Scalp Odds", "Indicator BF", "Zorvat",
      "Tips",  "Result",        "Report",      "Proof",      "About",        "ALL TABLE"};
  return page >= 0 && page < kPageCount ? kCaptions[page] : "";
}

std::vector<std::string> ViewState::VisibleTabs() const {
  std::vector<std::string> out;
  for (int p = 0; p < kPageCount; ++p)
    if (tabVisible[p]) out.emplace_back(PageCaption(p));
  return out;
}

}  // namespace trotix
