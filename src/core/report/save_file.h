#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace trotix {

// Writes a file whole or not at all: a temporary file in the same folder, then a rename over the
// old one. Returns the error text, empty on success; on failure the earlier file stays as it was.
std::string SaveTextFile(const std::filesystem::path& path, std::string_view content,
                         bool ownerOnly = false);

}  // namespace trotix
