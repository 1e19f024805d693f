#pragma once
// The one way the system writes a file: a temporary file in the same folder, then a rename, so
// a failed write never leaves a half-written file in place of the earlier one.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace trotix {

// Writes `content` as the file `path`, replacing any earlier file, readable and writable by its
// owner alone: the data folder holds the remember-me file and the picks, which are nobody
// else's. Returns the error text, empty on success; on failure the earlier file is left as it
// was.
std::string SaveTextFile(const std::filesystem::path& path, std::string_view content);

// Writes `lines`, each followed by `lineEnd`.
std::string SaveTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                         std::string_view lineEnd);

// Makes `folder` and each missing folder above it, owner-only. Returns the error text, empty when
// it is there; a folder that was there already keeps its mode.
std::string MakeFolder(const std::filesystem::path& folder);

}  // namespace trotix
