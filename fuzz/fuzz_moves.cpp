// The market moves feed.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "feeds/feeds.h"
#include "model/workspace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  trotix::Workspace ws;
  trotix::LoadMoves(ws, std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
