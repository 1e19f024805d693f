#pragma once
// The window's event loop while it signs in to the demo server and analyses a race: the longest
// gap between two ticks of its 10 ms watchdog timer, which the window writes itself
// (`trotix --screenshot … --gap-file FILE`).
#include <filesystem>
#include <optional>
#include <string>

namespace trotix::bench {

// Milliseconds; none when the window could not run.
std::optional<long long> WindowLongestGap(const std::string& window,
                                          const std::filesystem::path& dir);

}  // namespace trotix::bench
