#pragma once
// A day's answers as the archive keeps them: each command's answers to one address (role and
// path) in one row, laid out field by field and packed with zstd, so the long, alike queries of
// the runner pages cost a few bytes each. Every body stored alone that an answer refers to is
// noted once in `body_refs`, which tells a body in use from one left by a command that never
// ended (a grouped body is in use from the start).
// An older release kept an `answers` row per answer; those rows read on beside the packs until
// the archive's care packs them a day at a time.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archive/day_archive.h"

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace trotix {

class BodyPacker;

// One answer of a pack: its place among the command's answers, and the answer without its key's
// role and path, which the pack holds once.
struct PackedAnswer {
  long long order = 0;
  RecordedAnswer answer;
};

// The answers of one role and path as a pack's bytes before zstd, and back; none when the bytes
// are damaged.
std::string EncodeAnswers(const std::vector<PackedAnswer>& answers);
std::optional<std::vector<PackedAnswer>> DecodeAnswers(std::string_view bytes,
                                                       const std::string& role,
                                                       const std::string& path);

// Reads and writes the packs in the archive's file, in the caller's transaction. `day` is the
// stored day's text ("2026-12-08"). Throw ArchiveError on a pack that does not unpack.
class AnswerPacks {
 public:
  AnswerPacks(SQLite::Database& db, const BodyPacker& packer);

  // The number the next command's packs of `day` take: after every answer stored for it.
  long long NextCommand(const std::string& day);
  // `answers` (each with its body's id, 0 for none) as the packs of command `command`.
  void Write(const std::string& day, long long command, const std::vector<RecordedAnswer>& answers);
  // Every answer of the day in the order recorded, packed or not (yet).
  std::vector<RecordedAnswer> Day(const std::string& day);
  // The body id of the last good answer to `key` on `day`; none when there is none.
  std::optional<long long> LastBody(const std::string& day, const RequestKey& key);
  // The first day that still has answers stored one a row, if any.
  std::optional<std::string> FirstUnpackedDay();
  // That day's rows become packs, in one command numbered before any packed since; returns how
  // many rows moved.
  long long PackDay(const std::string& day);

 private:
  bool HasPacks();
  // The pack of the row `s` is on, whose first columns are its codec, size and bytes.
  std::vector<PackedAnswer> Unpacked(SQLite::Statement& s, const std::string& day,
                                     const std::string& role, const std::string& path);
  // The day's rows of an older release, each with its id.
  std::vector<std::pair<long long, RecordedAnswer>> Rows(const std::string& day);
  SQLite::Database& db_;
  const BodyPacker& packer_;
  std::optional<bool> hasPacks_;
};

}  // namespace trotix
