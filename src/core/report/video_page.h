#pragma once
// The page "video.html": the race's heading, its runners and the exchange's video player.
#include <string>
#include <vector>

#include "model/workspace.h"

namespace trotix {

inline constexpr const char* kVideoFileName = "video.html";

// The twelve lines of the page for the race analysed last; every text taken from data,
// the player address included, is HTML-escaped.
std::vector<std::string> VideoPageLines(const Workspace& ws, const std::string& playerAddress);

}  // namespace trotix
