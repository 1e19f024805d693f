#include "archive/runner_days.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <tuple>

#include "archive/body_codec.h"
#include "archive/packed_fields.h"
#include "archive/sql_values.h"
#include "archive/sqlite_archive.h"

namespace trotix {
namespace {

constexpr char kRowsFormat = 1;
constexpr int kResultCount = 5;  // PickResult's values, unsettled first

// A number as a whole count of units, tenths or hundredths where it reads back as the same
// double that way (parts are whole, prices have two places), else as its shortest text; a NaN,
// which has no such text, as its bits. Each begins with a varint: 0 for an unset number, the
// count zigzagged times four plus its scale, or the text's length times four plus three.
constexpr double kScales[] = {1, 10, 100};
constexpr int kTextScale = 3;
constexpr std::size_t kNanText = 17;
// Counts up to 2^53 read back exactly.
constexpr double kLargestCount = 9007199254740992.0;

void PutNumber(std::string& out, std::optional<double> v) {
  if (!v) {
    PutVarint(out, 0);
    return;
  }
  const double x = *v;
  for (int scale = 0; scale < kTextScale; ++scale) {
    const double scaled = x * kScales[scale];
    if (!(std::fabs(scaled) < kLargestCount)) break;
    const auto count = static_cast<int64_t>(std::llround(scaled));
    if (std::bit_cast<uint64_t>(static_cast<double>(count) / kScales[scale]) !=
        std::bit_cast<uint64_t>(x))
      continue;
    PutVarint(out, (ZigZag(count) << 2 | static_cast<uint64_t>(scale)) + 1);
    return;
  }
  char text[32];
  int n;
  if (std::isnan(x)) {
    n = std::snprintf(text, sizeof text, "N%016llx",
                      static_cast<unsigned long long>(std::bit_cast<uint64_t>(x)));
  } else {
    n = static_cast<int>(std::to_chars(text, text + sizeof text, x).ptr - text);
  }
  PutVarint(out, (static_cast<uint64_t>(n) << 2 | kTextScale) + 1);
  out.append(text, static_cast<std::size_t>(n));
}

// The number PutNumber put; none for an unset one. Marks `in` damaged on a text that is no
// number.
std::optional<double> TakeNumber(FieldReader& in) {
  const uint64_t head = in.Varint();
  if (!in.ok() || head == 0) return std::nullopt;
  const int scale = static_cast<int>((head - 1) & 3);
  const uint64_t value = (head - 1) >> 2;
  if (scale != kTextScale) return static_cast<double>(UnZigZag(value)) / kScales[scale];
  const std::string_view text = in.Take(value);
  if (!in.ok()) return std::nullopt;
  if (text.size() == kNanText && text[0] == 'N') {
    uint64_t bits = 0;
    const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + text.size(), bits, 16);
    if (ec == std::errc() && end == text.data() + text.size()) return std::bit_cast<double>(bits);
  } else {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc() && end == text.data() + text.size()) return v;
  }
  in.Fail();
  return std::nullopt;
}

auto KeyOf(const RunnerParts& r) {
  return std::tie(r.time, r.course, r.order);
}

bool ByKey(const RunnerParts& a, const RunnerParts& b) {
  return KeyOf(a) < KeyOf(b);
}

// The rows of a table that keeps a runner a row, by day, time, course and card order.
std::vector<RunnerParts> RowsOf(SQLite::Database& db, const std::string& table) {
  SQLite::Statement s(db,
                      "SELECT day, time, course, card_order, runner, rank, bf, scalp, rpr, "
                      "indicator, tips, fr, zorvat, price, non_runner, late, analysed, class, "
                      "runners, joined, result, position, sp FROM " +
                          table + " ORDER BY day, time, course, card_order");
  std::vector<RunnerParts> rows;
  std::string day;
  Date date;
  while (s.executeStep()) {
    RunnerParts& r = rows.emplace_back();
    // Rows come by day: each day's text is read once.
    if (const char* d = s.getColumn(0).getText(); day != d) {
      day = d;
      date = DayOfIso(day);
    }
    r.day = date;
    r.time = s.getColumn(1).getString();
    r.course = s.getColumn(2).getString();
    r.order = s.getColumn(3).getInt();
    r.runner = s.getColumn(4).getString();
    for (int i = 0; i < kPartCount; ++i) r.parts[i] = s.getColumn(5 + i).getDouble();
    r.price = OptionalDouble(s.getColumn(13));
    r.nonRunner = s.getColumn(14).getInt() != 0;
    r.late = s.getColumn(15).getInt() != 0;
    r.analysed = s.getColumn(16).getString();
    r.raceClass = s.getColumn(17).getString();
    r.runners = s.getColumn(18).getInt();
    r.joined = s.getColumn(19).getInt() != 0;
    if (!s.getColumn(20).isNull()) {
      const std::string result = s.getColumn(20).getString();
      for (PickResult p :
           {PickResult::kWon, PickResult::kPlaced, PickResult::kUnplaced, PickResult::kVoid})
        if (result == PickResultName(p)) r.result = p;
    }
    r.position = s.getColumn(21).isNull() ? 0 : s.getColumn(21).getInt();
    r.sp = OptionalDouble(s.getColumn(22));
  }
  return rows;
}

}  // namespace

// Field by field, each field's values of the whole day together: a race's time, course and
// analysed time repeat row after row, and the parts of one kind are alike.
std::string EncodeRunnerRows(const std::vector<RunnerParts>& rows) {
  std::string out(1, kRowsFormat);
  PutVarint(out, rows.size());
  FrontCoder times, courses, runners, analysed, classes;
  for (const RunnerParts& r : rows) times.Put(out, r.time);
  for (const RunnerParts& r : rows) courses.Put(out, r.course);
  for (const RunnerParts& r : rows) PutVarint(out, ZigZag(r.order));
  for (const RunnerParts& r : rows) runners.Put(out, r.runner);
  for (int i = 0; i < kPartCount; ++i)
    for (const RunnerParts& r : rows) PutNumber(out, r.parts[i]);
  for (const RunnerParts& r : rows) PutNumber(out, r.price);
  for (const RunnerParts& r : rows)
    out += static_cast<char>((r.nonRunner ? 1 : 0) | (r.late ? 2 : 0) | (r.joined ? 4 : 0) |
                             static_cast<int>(r.result) << 3);
  for (const RunnerParts& r : rows) analysed.Put(out, r.analysed);
  for (const RunnerParts& r : rows) classes.Put(out, r.raceClass);
  for (const RunnerParts& r : rows) PutVarint(out, ZigZag(r.runners));
  for (const RunnerParts& r : rows) PutVarint(out, ZigZag(r.position));
  for (const RunnerParts& r : rows) PutNumber(out, r.sp);
  return out;
}

std::optional<std::vector<RunnerParts>> DecodeRunnerRows(std::string_view bytes, const Date& day) {
  FieldReader in(bytes);
  if (in.Byte() != kRowsFormat) return std::nullopt;
  const uint64_t n = in.Varint();
  // Every runner takes at least twenty bytes: a damaged count never allocates beyond the row.
  if (!in.ok() || n > bytes.size() / 20) return std::nullopt;
  std::vector<RunnerParts> rows(n);
  std::string time, course, runner, analysed, raceClass;
  for (RunnerParts& r : rows) {
    r.day = day;
    r.time = in.Text(time);
  }
  for (RunnerParts& r : rows) r.course = in.Text(course);
  for (RunnerParts& r : rows) r.order = static_cast<int>(UnZigZag(in.Varint()));
  for (RunnerParts& r : rows) r.runner = in.Text(runner);
  for (int i = 0; i < kPartCount; ++i)
    for (RunnerParts& r : rows) {
      const auto v = TakeNumber(in);
      if (!v) return std::nullopt;  // a part is never unset
      r.parts[i] = *v;
    }
  for (RunnerParts& r : rows) r.price = TakeNumber(in);
  for (RunnerParts& r : rows) {
    const int flags = in.Byte();
    if ((flags >> 3) >= kResultCount) return std::nullopt;
    r.nonRunner = (flags & 1) != 0;
    r.late = (flags & 2) != 0;
    r.joined = (flags & 4) != 0;
    r.result = static_cast<PickResult>(flags >> 3);
  }
  for (RunnerParts& r : rows) r.analysed = in.Text(analysed);
  for (RunnerParts& r : rows) r.raceClass = in.Text(raceClass);
  for (RunnerParts& r : rows) r.runners = static_cast<int>(UnZigZag(in.Varint()));
  for (RunnerParts& r : rows) r.position = static_cast<int>(UnZigZag(in.Varint()));
  for (RunnerParts& r : rows) r.sp = TakeNumber(in);
  if (!in.ok() || !in.done()) return std::nullopt;
  return rows;
}

RunnerDays::RunnerDays(SQLite::Database& db) : db_(db) {}

RunnerDays::Day& RunnerDays::Load(const Date& day) {
  auto [it, fresh] = days_.try_emplace(day);
  if (!fresh) return it->second;
  SQLite::Statement s(db_, "SELECT codec, size, rows FROM runner_parts WHERE day = ?");
  s.bind(1, IsoDay(day));
  try {
    // A day that does not unpack is taken as empty: a race stored writes over it, so the damage
    // never costs the command its write (its answers and picks), and the day reads again.
    if (s.executeStep()) it->second.rows = Unpacked(s, day).value_or(std::vector<RunnerParts>());
  } catch (...) {
    days_.erase(it);
    throw;
  }
  return it->second;
}

std::optional<std::vector<RunnerParts>> RunnerDays::Unpacked(SQLite::Statement& s,
                                                             const Date& day) {
  const SQLite::Column bytes = s.getColumn(2);
  const auto plain = packer_.Unpack(static_cast<BodyCodec>(s.getColumn(0).getInt()),
                                    std::string_view(static_cast<const char*>(bytes.getBlob()),
                                                     static_cast<std::size_t>(bytes.getBytes())),
                                    static_cast<std::size_t>(s.getColumn(1).getInt64()));
  return plain ? DecodeRunnerRows(*plain, day) : std::nullopt;
}

bool RunnerDays::StoreRace(const std::vector<RunnerParts>& race) {
  if (race.empty()) return false;
  const RunnerParts& first = race.front();
  // A race's runners are of its day.
  Day& day = Load(first.day);
  const auto stored = std::find_if(day.rows.begin(), day.rows.end(), [&](const RunnerParts& r) {
    return r.time == first.time && r.course == first.course;
  });
  // What was known before the off stays: a later look would test on hindsight.
  if (stored != day.rows.end() && !stored->late && first.late) return false;
  std::erase_if(day.rows, [&](const RunnerParts& r) {
    return r.time == first.time && r.course == first.course;
  });
  day.changed = true;
  for (const RunnerParts& r : race) {
    // As analysed: the card and the results are joined later.
    RunnerParts row = r;
    row.raceClass.clear();
    row.runners = 0;
    row.joined = false;
    row.result = PickResult::kUnsettled;
    row.position = 0;
    row.sp.reset();
    const auto at = std::lower_bound(day.rows.begin(), day.rows.end(), row, ByKey);
    if (at != day.rows.end() && !ByKey(row, *at)) {
      *at = std::move(row);  // the same runner twice: the later one
    } else {
      day.rows.insert(at, std::move(row));
    }
  }
  return true;
}

void RunnerDays::Join(const RunnerParts& row) {
  Day& day = Load(row.day);
  const auto at = std::lower_bound(day.rows.begin(), day.rows.end(), row, ByKey);
  if (at == day.rows.end() || ByKey(row, *at)) return;
  at->raceClass = row.raceClass;
  at->runners = row.runners;
  at->joined = true;
  at->result = row.result;
  at->position = row.position;
  at->sp = row.sp;
  day.changed = true;
}

void RunnerDays::Flush() {
  for (auto& [date, day] : days_) {
    if (!day.changed) continue;
    Write(IsoDay(date), day.rows);
    day.changed = false;
  }
}

void RunnerDays::Write(const std::string& day, const std::vector<RunnerParts>& rows) {
  if (rows.empty()) {
    SQLite::Statement drop(db_, "DELETE FROM runner_parts WHERE day = ?");
    drop.bind(1, day);
    drop.exec();
    return;
  }
  const std::string plain = EncodeRunnerRows(rows);
  const PackedBody packed = packer_.PackGroup(plain);
  SQLite::Statement s(db_,
                      "INSERT OR REPLACE INTO runner_parts (day, count, codec, size, rows) VALUES "
                      "(?, ?, ?, ?, ?)");
  s.bind(1, day);
  s.bind(2, static_cast<int64_t>(rows.size()));
  s.bind(3, static_cast<int>(packed.codec));
  s.bind(4, static_cast<int64_t>(plain.size()));
  s.bind(5, packed.bytes.data(), static_cast<int>(packed.bytes.size()));
  s.exec();
}

std::vector<RunnerParts> RunnerDays::All() {
  if (!db_.tableExists("runner_parts")) return {};
  {
    SQLite::Statement packed(db_,
                             "SELECT 1 FROM pragma_table_info('runner_parts') WHERE name = 'rows'");
    if (!packed.executeStep()) return RowsOf(db_, "runner_parts");
  }
  std::vector<RunnerParts> all;
  SQLite::Statement s(db_, "SELECT codec, size, rows, day FROM runner_parts ORDER BY day");
  while (s.executeStep()) {
    const std::string day = s.getColumn(3).getString();
    auto rows = Unpacked(s, DayOfIso(day));
    if (!rows) throw ArchiveError("the runners of " + day + " do not unpack");
    all.insert(all.end(), std::make_move_iterator(rows->begin()),
               std::make_move_iterator(rows->end()));
  }
  return all;
}

void RunnerDays::MoveRowsOf(const std::string& table) {
  std::vector<RunnerParts> rows = RowsOf(db_, table);
  for (auto from = rows.begin(); from != rows.end();) {
    const auto to =
        std::find_if(from, rows.end(), [&](const RunnerParts& r) { return !(r.day == from->day); });
    Write(IsoDay(from->day), std::vector<RunnerParts>(from, to));
    from = to;
  }
}

}  // namespace trotix
