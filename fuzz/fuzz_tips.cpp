// The tips feed, loaded twice as the sign-in of a long day could.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "feeds/feeds.h"
#include "model/workspace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view feed(reinterpret_cast<const char*>(data), size);
  trotix::Workspace ws;
  trotix::LoadTips(ws, feed);
  const int rows = ws.TIPS.RowCount();
  trotix::LoadTips(ws, feed);
  // Names already listed are skipped, so a second load adds nothing.
  if (ws.TIPS.RowCount() != rows) __builtin_trap();
  return 0;
}
