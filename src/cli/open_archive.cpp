#include "open_archive.h"

#include <iostream>

namespace trotix {

std::optional<SqliteArchive> OpenArchive(const std::filesystem::path& file, bool create) {
  if (!create && !std::filesystem::exists(file)) {
    std::cerr << "error: there is no archive " << file.string() << '\n';
    return std::nullopt;
  }
  try {
    return std::optional<SqliteArchive>(std::in_place, file);
  } catch (const ArchiveError& e) {
    std::cerr << "error: " << e.what() << '\n';
    return std::nullopt;
  }
}

}  // namespace trotix
