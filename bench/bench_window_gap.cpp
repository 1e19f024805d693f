#include "bench_window_gap.h"

#include <cstdlib>
#include <fstream>

#include "bench_util.h"

namespace trotix::bench {

std::optional<long long> WindowLongestGap(const std::string& window,
                                          const std::filesystem::path& dir) {
  if (!std::filesystem::exists(window)) return std::nullopt;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::filesystem::path gap = dir / "gap.txt";
  const ChildRun run = RunChild({window, "--demo", "--race", "0", "--screenshot",
                                 (dir / "gap.png").string(), "--gap-file", gap.string()},
                                (dir / "peak").string(), dir.string());
  long long ms = -1;
  std::ifstream in(gap);
  if (!run.started || !(in >> ms)) return std::nullopt;
  return ms;
}

}  // namespace trotix::bench
