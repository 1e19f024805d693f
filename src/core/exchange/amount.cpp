#include "exchange/amount.h"

#include "text/numbers.h"

namespace trotix {

double StrToAmount(std::string_view text) {
  if (text.empty()) return -1;
  for (char c : text)
    if ((c < '0' || c > '9') && c != ',') return -1;
  return ParseDecimal(text).value_or(-1);
}

}  // namespace trotix
