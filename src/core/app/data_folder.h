#pragma once
// Moving the data folder: every file Trotix keeps there goes to the new folder together, so that
// no file is written to one folder while another is in the other.
#include <filesystem>
#include <string>
#include <vector>

namespace trotix {

class SqliteArchive;

// The names of the files Trotix keeps in `folder` that are there: the archives with their
// write-ahead logs, tx.log, the saved pages and the Proof page's lists; sorted.
std::vector<std::string> DataFileNames(const std::filesystem::path& folder);

// The data files of `from` that `to` holds too: a move would replace them.
std::vector<std::string> DataFileClashes(const std::filesystem::path& from,
                                         const std::filesystem::path& to);

// Moves the data files of `from` into `to` (made when missing), replacing those there. The open
// `archive`, when it lives in `from`, is closed, moved with its log and reopened in `to`. Returns
// the error, empty on success; on failure every file that moved goes back and the archive is
// open where it was.
std::string MoveDataFolder(const std::filesystem::path& from, const std::filesystem::path& to,
                           SqliteArchive* archive);

}  // namespace trotix
