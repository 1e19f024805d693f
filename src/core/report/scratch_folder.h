#pragma once
// A folder of the run's own under the system's temporary folder, removed with everything in it:
// for sessions whose files (tx.log, pages) must never touch the user's data folder.
#include <filesystem>
#include <string_view>

namespace trotix {

class ScratchFolder {
 public:
  // Named `prefix` and a random part; throws std::runtime_error when it cannot be made.
  explicit ScratchFolder(std::string_view prefix);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace trotix
