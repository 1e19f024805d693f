#include "app/data_folder.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include "app/remember_me.h"
#include "archive/sqlite_archive.h"
#include "report/report_page.h"
#include "report/save_file.h"
#include "report/video_page.h"

namespace trotix {
namespace {

namespace fs = std::filesystem;

bool IsDataFileName(std::string_view name) {
  const auto among = [&name](std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  for (std::string_view db : {kArchiveFileName, kDemoArchiveFileName})
    for (std::string_view end : {"", "-wal", "-shm", "-journal"})
      if (name.size() == db.size() + end.size() && name.starts_with(db) && name.ends_with(end))
        return true;
  if (among({kRememberMeFile, kReportFileName, kReportCsvFileName, kVideoFileName})) return true;
  // "Save as…" starts at report-07.12.2026.html; the Proof page's lists are proof-….csv.
  return (name.starts_with("report-") && (name.ends_with(".html") || name.ends_with(".csv"))) ||
         (name.starts_with("proof-") && name.ends_with(".csv"));
}

// One file, by a rename, or by a copy and a removal from another file system.
void MoveOne(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);
  if (!error) return;
  if (error != std::errc::cross_device_link)
    throw fs::filesystem_error("cannot move", from, to, error);
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::remove(from);
}

// Files moved so far, put back when a later one fails.
class Moves {
 public:
  void Move(const fs::path& from, const fs::path& to) {
    MoveOne(from, to);
    done_.emplace_back(from, to);
  }
  void Undo() noexcept {
    for (auto m = done_.rbegin(); m != done_.rend(); ++m) {
      try {
        MoveOne(m->second, m->first);
      } catch (const std::exception&) {
        // Left where it is: the error of the move says which folder failed.
      }
    }
    done_.clear();
  }

 private:
  std::vector<std::pair<fs::path, fs::path>> done_;
};

}  // namespace

std::vector<std::string> DataFileNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file(error) && IsDataFileName(it->path().filename().string()))
      names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> DataFileClashes(const fs::path& from, const fs::path& to) {
  std::vector<std::string> clashes;
  std::error_code error;
  if (fs::equivalent(from, to, error)) return clashes;
  for (const std::string& name : DataFileNames(from))
    if (fs::exists(to / name, error)) clashes.push_back(name);
  return clashes;
}

std::string MoveDataFolder(const fs::path& from, const fs::path& to, SqliteArchive* archive) {
  std::error_code same;
  if (fs::equivalent(from, to, same)) return {};
  if (std::string error = MakeFolder(to); !error.empty()) return error;
  std::error_code error;
  const bool archiveHere = archive && fs::equivalent(archive->file().parent_path(), from, error);
  const std::string db = archiveHere ? archive->file().filename().string() : std::string();
  Moves moves;
  try {
    if (archiveHere) {
      // The archive first, closed: what is left of its log goes with it, and nothing is written
      // while it moves.
      archive->ReopenAt(to / db, [&] {
        try {
          for (const std::string& name : DataFileNames(from))
            if (name.starts_with(db)) moves.Move(from / name, to / name);
        } catch (...) {
          moves.Undo();
          throw;
        }
      });
    }
    for (const std::string& name : DataFileNames(from))
      if (!archiveHere || !name.starts_with(db)) moves.Move(from / name, to / name);
  } catch (const std::exception& e) {
    const std::string why = e.what();
    if (archiveHere && archive->file() == to / db) {
      try {
        archive->ReopenAt(from / db, [&] { moves.Undo(); });
      } catch (const std::exception&) {
        // It stays open in the new folder; the error below says the move failed.
      }
    } else {
      moves.Undo();
    }
    return "The data folder's files stay in " + from.string() + ": " + why;
  }
  return {};
}

}  // namespace trotix
