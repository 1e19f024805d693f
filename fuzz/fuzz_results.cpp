// The results answer and a click on every link of what it filled. The scheme of an address
// opened may be in any letter case ("HTTP://" is a web address too).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "feeds/feeds.h"
#include "model/workspace.h"
#include "net/vendor_urls.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  trotix::Workspace ws;
  const bool found =
      trotix::LoadResults(ws, std::string_view(reinterpret_cast<const char*>(data), size));
  if (found != (ws.REZ.RowCount() > 0)) __builtin_trap();
  for (int row = -1; row <= ws.REZ.RowCount(); ++row)
    if (const auto url = trotix::ResultLink(ws, row))
      if (!trotix::IsWebAddress(*url)) __builtin_trap();
  return 0;
}
