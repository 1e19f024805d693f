#pragma once
// The care of the archive's file as a whole: what it holds, an online backup, one day carried to
// another archive, compaction, and packing the bodies an older release stored as they came.
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "archive/sqlite_archive.h"
#include "text/dates.h"

namespace trotix {

struct ArchiveInfo {
  long long days = 0, answers = 0, picks = 0, events = 0;
  long long bytes = 0;  // the file with its -wal file, on disk
  // Stored bytes of the bodies by the role of the host that answered them ("data", "web",
  // "exchange", …), each body once; "other" is the rest of `bytes` (rows, indexes, free pages).
  std::map<std::string, long long> bytesByKind;
  long long bodiesToPack = 0;  // stored as they came by an older release, not packed yet
  // Answers an older release stored a row each, not packed yet (included in `answers`).
  long long answersToPack = 0;
};

ArchiveInfo DescribeArchive(SqliteArchive& archive);
// The archive's file with its -wal file, on disk; read from the file system alone, so any thread
// may ask.
long long ArchiveFileBytes(const std::filesystem::path& file);

// The archive copied to `to` with SQLite's online backup: one consistent moment of it, while
// other programs go on recording. Written beside `to` and put in its place only once
// `PRAGMA integrity_check` passes; a file at `to` is replaced. Throws ArchiveError.
void BackUpArchive(SqliteArchive& archive, const std::filesystem::path& to);

// Rebuilds the file without its free pages (SQLite's VACUUM). Returns the bytes before and after.
std::pair<long long, long long> VacuumArchive(SqliteArchive& archive);

// One stored day as an archive file of its own: the day, its answers and their bodies, never
// the ledger. Throws ArchiveError, also when the day is not stored.
void ExportDay(SqliteArchive& archive, const Date& day, const std::filesystem::path& to);

struct ImportedDays {
  std::vector<Date> added;
  std::vector<Date> present;  // already stored here: left as they are
};
// The days of another archive file (an exported day) added with their answers and bodies; its
// ledger is never read. Each day is one transaction. Throws ArchiveError.
ImportedDays ImportDays(SqliteArchive& archive, const std::filesystem::path& from);

// The file an older archive is copied to before its bodies are packed, kept until the packed
// archive is checked against it.
std::filesystem::path OldArchiveCopy(const std::filesystem::path& file);

// Trains the dictionary bodies are packed against on the archive's own bodies, once: when it
// has none yet and holds enough of them. Returns whether it made one.
bool TrainArchiveDictionary(SqliteArchive& archive);

enum class PackingEnd { kDone, kStopped };
// Packs the bodies an older release stored as they came, in batches of one transaction each,
// then its answers, a day a transaction; `goOn(done, total)` after each batch (a body or a day
// is one unit), false stops (a later call goes on from there). The archive is first copied to
// OldArchiveCopy; once everything is packed, the archive passes `PRAGMA integrity_check`, every
// body is compared with the copy's and every day's answers read as the copy's, then the copy
// goes. Throws ArchiveError when the check fails, the copy kept.
PackingEnd PackStoredBodies(SqliteArchive& archive,
                            const std::function<bool(long long done, long long total)>& goOn,
                            int batch = 200);

// Whether PackStoredBodies has anything left to pack (bodies, or answers an older release stored
// a row each); a row or two read, so it may be asked at each start. An older archive opened
// read-only has everything left.
bool HasBodiesToPack(SqliteArchive& archive);

}  // namespace trotix
