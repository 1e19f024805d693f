#pragma once
// The runners of analysed races as the archive keeps them: one row of `runner_parts` a day, its
// runners laid out field by field and packed with zstd. A day's four hundred runners repeat
// their race's time, course and analysed time and have small whole parts, which a row each
// stored over and over.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/body_codec.h"
#include "archive/runner_parts.h"
#include "text/dates.h"

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace trotix {

// A day's runners (of any day: the day itself is not kept) as the bytes before zstd, and back
// with `day`; none when the bytes are damaged. Every number reads back bit for bit.
std::string EncodeRunnerRows(const std::vector<RunnerParts>& rows);
std::optional<std::vector<RunnerParts>> DecodeRunnerRows(std::string_view bytes, const Date& day);

// Reads and changes the stored days' runners in the caller's transaction: each day a change
// touches is read once and written once, at `Flush`. `All` throws ArchiveError on a day that
// does not unpack; a change takes such a day as empty. SQLite's errors go on as they come.
class RunnerDays {
 public:
  explicit RunnerDays(SQLite::Database& db);

  // The race's rows replace those stored for it, unless those were analysed before the off
  // and these at or after it. Returns whether they did.
  bool StoreRace(const std::vector<RunnerParts>& race);
  // The card's class and field size and the result, onto the stored row of that runner, if any.
  void Join(const RunnerParts& row);
  // Writes the days changed.
  void Flush();

  // Every stored runner, by day, time, course and card order. An older archive opened read-only
  // has a row per runner, or no runners at all.
  std::vector<RunnerParts> All();
  // The rows of `table`, a row per runner as an older release kept them, packed into days.
  void MoveRowsOf(const std::string& table);

 private:
  struct Day {
    std::vector<RunnerParts> rows;  // by time, course and card order
    bool changed = false;
  };
  Day& Load(const Date& day);
  // The runners of the row `s` is on, whose first columns are its codec, size and bytes; none
  // when they do not unpack.
  std::optional<std::vector<RunnerParts>> Unpacked(SQLite::Statement& s, const Date& day);
  void Write(const std::string& day, const std::vector<RunnerParts>& rows);

  SQLite::Database& db_;
  BodyPacker packer_;  // on its own: the dictionary is one of the vendor's pages
  std::map<Date, Day> days_;
};

}  // namespace trotix
