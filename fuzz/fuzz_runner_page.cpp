// The exchange's runner page and the amounts read from it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/amount.h"
#include "exchange/runner_info.h"
#include "text/fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  const std::string record = trotix::RunnerInfo(page);
  for (int field = 1; field <= 4; ++field)
    (void)trotix::StrToAmount(trotix::GetField(record, field));
  (void)trotix::StrToAmount(page.substr(0, 32));
  return 0;
}
