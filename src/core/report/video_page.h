#pragma once
// The page "video.html": the race's heading, its runners and the exchange's video player.
#include <string>
#include <vector>

#include "model/workspace.h"

namespace trotix {

inline constexpr const char* kVideoFileName = "video.html";

// The twelve lines of the page for the race analysed last, the first declaring UTF-8; every text
// taken from data is decoded for display, and it and the player address are HTML-escaped.
std::vector<std::string> VideoPageLines(const Workspace& ws, const std::string& playerAddress);

}  // namespace trotix
