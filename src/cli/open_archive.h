#pragma once

#include <filesystem>
#include <optional>

#include "archive/sqlite_archive.h"

namespace trotix {

// The archive at `file`, or nothing with the reason on stderr. Unless `create` says so, a file
// that is not there is an error: a check or a copy never makes an empty archive.
std::optional<SqliteArchive> OpenArchive(const std::filesystem::path& file, bool create = false);

}  // namespace trotix
