#pragma once
// Reads a runner page the way the exchange reader does: each label, then the next bold marker,
// then the text between the following ">" and "<".
#include <array>
#include <string>

#include "text/strings.h"

namespace trotix::vendorsim::testing {

struct PageValues {
  std::array<std::string, 4> values;
  int labelsFound = 0;
};

inline PageValues ReadRunnerPage(std::string text) {
  static const std::array<std::string, 4> kLabels = {"on this event", "volume:", "price matched",
                                                     "starting price"};
  PageValues out;
  auto cutAfter = [&](const std::string& what) {
    const auto p = Lower(text).find(what);
    if (p == std::string::npos) return false;
    text.erase(0, p + 1);
    return true;
  };
  for (std::size_t i = 0; i < kLabels.size(); ++i) {
    if (cutAfter(kLabels[i])) ++out.labelsFound;
    cutAfter("globalboldedtext");
    const auto gt = text.find('>');
    if (gt != std::string::npos) text.erase(0, gt + 1);
    const auto lt = text.find('<');
    out.values[i] = lt == std::string::npos ? "" : text.substr(0, lt);
  }
  return out;
}

}  // namespace trotix::vendorsim::testing
