#pragma once
// The archive an older release left (tests/fixtures/demo-day-schema-3.db.zst): one settled demo
// day, 08.12.2026, its bodies stored as they came.
#include <zstd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace trotix::testing {

inline constexpr const char* kReleaseArchive =
    TROTIX_SOURCE_DIR "/tests/fixtures/demo-day-schema-3.db.zst";

// Writes the release's archive to `to`; false when the fixture cannot be read.
inline bool UnpackReleaseArchive(const std::filesystem::path& to) {
  const std::string packed = ReadFile(kReleaseArchive);
  const unsigned long long size = ZSTD_getFrameContentSize(packed.data(), packed.size());
  if (packed.empty() || size == ZSTD_CONTENTSIZE_ERROR || size == ZSTD_CONTENTSIZE_UNKNOWN)
    return false;
  std::string file(size, '\0');
  const std::size_t n = ZSTD_decompress(file.data(), file.size(), packed.data(), packed.size());
  if (ZSTD_isError(n) || n != size) return false;
  std::ofstream(to, std::ios::binary) << file;
  return true;
}

}  // namespace trotix::testing
