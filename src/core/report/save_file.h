#pragma once
// The one way the system writes a file: a temporary file in the same folder, then a rename, so
// a failed write never leaves a half-written file in place of the earlier one.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace trotix {

// Writes `content` as the file `path`, replacing any earlier file. `ownerOnly` makes the file
// readable and writable by its owner alone (remember-me file); otherwise the process's file
// mode mask decides. Returns the error text, empty on success; on failure the earlier file is
// left as it was.
std::string SaveTextFile(const std::filesystem::path& path, std::string_view content,
                         bool ownerOnly = false);

// Writes `lines`, each followed by `lineEnd`.
std::string SaveTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                         std::string_view lineEnd, bool ownerOnly = false);

}  // namespace trotix
