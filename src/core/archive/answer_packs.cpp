#include "archive/answer_packs.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <tuple>

#include "archive/body_codec.h"
#include "archive/packed_fields.h"
#include "archive/sqlite_archive.h"

namespace trotix {
namespace {

constexpr char kFormat = 1;
// A GET's kind follows the three probe outcomes.
constexpr int kGetGood = 3, kGetFailed = 4;

int ProbeCode(ProbeResult p) {
  switch (p) {
    case ProbeResult::Present:
      return 0;
    case ProbeResult::Absent:
      return 1;
    case ProbeResult::Unreachable:
      break;
  }
  return 2;
}

ProbeResult ProbeOfCode(int code) {
  return code == 0   ? ProbeResult::Present
         : code == 1 ? ProbeResult::Absent
                     : ProbeResult::Unreachable;
}

std::string Text(const SQLite::Column& c) {
  return c.getString();
}

}  // namespace

// Field by field: the orders, kinds, statuses and body ids are small numbers; the texts come
// last, each field's texts together.
std::string EncodeAnswers(const std::vector<PackedAnswer>& answers) {
  std::string out(1, kFormat);
  PutVarint(out, answers.size());
  long long order = 0;
  for (const PackedAnswer& p : answers) {
    PutVarint(out, ZigZag(p.order - order));
    order = p.order;
  }
  for (const PackedAnswer& p : answers) {
    const RecordedAnswer& a = p.answer;
    out += static_cast<char>(a.key.probe ? ProbeCode(a.probe)
                                         : (a.answer.failed ? kGetFailed : kGetGood));
  }
  long long body = 0;
  for (const PackedAnswer& p : answers) {
    if (p.answer.key.probe) continue;
    PutVarint(out, ZigZag(p.answer.answer.status));
    PutVarint(out, ZigZag(p.answer.bodyId - body));
    body = p.answer.bodyId;
  }
  FrontCoder queries, errors, times;
  for (const PackedAnswer& p : answers) queries.Put(out, p.answer.key.query);
  for (const PackedAnswer& p : answers)
    if (!p.answer.key.probe) errors.Put(out, p.answer.answer.error);
  for (const PackedAnswer& p : answers) times.Put(out, p.answer.arrived);
  return out;
}

std::optional<std::vector<PackedAnswer>> DecodeAnswers(std::string_view bytes,
                                                       const std::string& role,
                                                       const std::string& path) {
  FieldReader in(bytes);
  if (in.Byte() != kFormat) return std::nullopt;
  const uint64_t n = in.Varint();
  // Every answer takes at least four bytes: a damaged count never allocates beyond the pack.
  if (!in.ok() || n > bytes.size()) return std::nullopt;
  std::vector<PackedAnswer> answers(n);
  long long order = 0;
  for (PackedAnswer& p : answers) {
    order = AddStep(order, in.Varint());
    p.order = order;
    p.answer.key.role = role;
    p.answer.key.path = path;
  }
  for (PackedAnswer& p : answers) {
    const int kind = in.Byte();
    if (kind > kGetFailed) return std::nullopt;
    RecordedAnswer& a = p.answer;
    a.key.probe = kind < kGetGood;
    if (a.key.probe) {
      a.probe = ProbeOfCode(kind);
    } else {
      a.answer.failed = kind == kGetFailed;
    }
  }
  long long body = 0;
  for (PackedAnswer& p : answers) {
    if (p.answer.key.probe) continue;
    p.answer.answer.status = static_cast<int>(UnZigZag(in.Varint()));
    body = AddStep(body, in.Varint());
    p.answer.bodyId = body;
  }
  std::string query, error, time;
  for (PackedAnswer& p : answers) p.answer.key.query = in.Text(query);
  for (PackedAnswer& p : answers)
    if (!p.answer.key.probe) p.answer.answer.error = in.Text(error);
  for (PackedAnswer& p : answers) p.answer.arrived = in.Text(time);
  if (!in.ok() || !in.done()) return std::nullopt;
  return answers;
}

AnswerPacks::AnswerPacks(SQLite::Database& db, const BodyPacker& packer)
    : db_(db), packer_(packer) {}

bool AnswerPacks::HasPacks() {
  // An older archive opened read-only has only the rows.
  if (!hasPacks_) hasPacks_ = db_.tableExists("answer_packs");
  return *hasPacks_;
}

long long AnswerPacks::NextCommand(const std::string& day) {
  SQLite::Statement s(db_,
                      "SELECT max(coalesce((SELECT max(command) FROM answer_packs WHERE day = ?1), "
                      "0), coalesce((SELECT max(id) FROM answers WHERE day = ?1), 0))");
  s.bind(1, day);
  s.executeStep();
  return s.getColumn(0).getInt64() + 1;
}

void AnswerPacks::Write(const std::string& day, long long command,
                        const std::vector<RecordedAnswer>& answers) {
  // By address, in the order each first came.
  std::vector<std::pair<std::string, std::string>> addresses;
  std::map<std::pair<std::string, std::string>, std::vector<PackedAnswer>> packs;
  for (std::size_t i = 0; i < answers.size(); ++i) {
    const RecordedAnswer& a = answers[i];
    auto [it, added] = packs.try_emplace({a.key.role, a.key.path});
    if (added) addresses.push_back(it->first);
    it->second.push_back({static_cast<long long>(i), a});
  }
  SQLite::Statement insert(db_,
                           "INSERT INTO answer_packs (day, command, role, path, count, codec, "
                           "size, rows) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
  for (const auto& address : addresses) {
    const std::vector<PackedAnswer>& pack = packs[address];
    const std::string rows = EncodeAnswers(pack);
    const PackedBody packed = packer_.Pack(rows);
    insert.bind(1, day);
    insert.bind(2, static_cast<int64_t>(command));
    insert.bind(3, address.first);
    insert.bind(4, address.second);
    insert.bind(5, static_cast<int64_t>(pack.size()));
    insert.bind(6, static_cast<int>(packed.codec));
    insert.bind(7, static_cast<int64_t>(rows.size()));
    insert.bind(8, packed.bytes.data(), static_cast<int>(packed.bytes.size()));
    insert.exec();
    insert.reset();
  }
  // A grouped body is in use from the start: only one stored alone is noted.
  SQLite::Statement refer(db_,
                          "INSERT OR IGNORE INTO body_refs (body_id, role) SELECT id, ? FROM "
                          "bodies WHERE id = ? AND group_id IS NULL");
  for (const RecordedAnswer& a : answers) {
    if (a.key.probe || a.bodyId == 0) continue;
    refer.bind(1, a.key.role);
    refer.bind(2, static_cast<int64_t>(a.bodyId));
    refer.exec();
    refer.reset();
  }
}

std::vector<std::pair<long long, RecordedAnswer>> AnswerPacks::Rows(const std::string& day) {
  SQLite::Statement s(db_,
                      "SELECT id, role, path, query, probe, status, failed, error, body_id, "
                      "arrived FROM answers WHERE day = ? ORDER BY id");
  s.bind(1, day);
  std::vector<std::pair<long long, RecordedAnswer>> rows;
  while (s.executeStep()) {
    RecordedAnswer a;
    a.key = {Text(s.getColumn(1)), Text(s.getColumn(2)), Text(s.getColumn(3)),
             !s.getColumn(4).isNull()};
    if (a.key.probe) {
      a.probe = ProbeOfCode(s.getColumn(4).getInt());
    } else {
      a.answer.status = s.getColumn(5).getInt();
      a.answer.failed = s.getColumn(6).getInt() != 0;
      a.answer.error = Text(s.getColumn(7));
      a.bodyId = s.getColumn(8).isNull() ? 0 : s.getColumn(8).getInt64();
    }
    a.arrived = Text(s.getColumn(9));
    rows.emplace_back(s.getColumn(0).getInt64(), std::move(a));
  }
  return rows;
}

std::vector<PackedAnswer> AnswerPacks::Unpacked(SQLite::Statement& s, const std::string& day,
                                                const std::string& role, const std::string& path) {
  const SQLite::Column bytes = s.getColumn(2);
  const auto rows = packer_.Unpack(static_cast<BodyCodec>(s.getColumn(0).getInt()),
                                   std::string_view(static_cast<const char*>(bytes.getBlob()),
                                                    static_cast<std::size_t>(bytes.getBytes())),
                                   static_cast<std::size_t>(s.getColumn(1).getInt64()));
  auto pack = rows ? DecodeAnswers(*rows, role, path) : std::nullopt;
  if (!pack) throw ArchiveError("the answers of " + day + " do not unpack");
  return std::move(*pack);
}

std::vector<RecordedAnswer> AnswerPacks::Day(const std::string& day) {
  // Rows of an older release first: a later command's packs are numbered after them.
  std::vector<RecordedAnswer> read;
  std::vector<std::tuple<long long, long long, std::size_t>> places;  // command, order, in `read`
  for (auto& [id, a] : Rows(day)) {
    places.emplace_back(id, 0, read.size());
    read.push_back(std::move(a));
  }
  if (HasPacks()) {
    SQLite::Statement s(db_,
                        "SELECT codec, size, rows, role, path, command FROM answer_packs WHERE "
                        "day = ?");
    s.bind(1, day);
    while (s.executeStep()) {
      const long long command = s.getColumn(5).getInt64();
      for (PackedAnswer& p : Unpacked(s, day, Text(s.getColumn(3)), Text(s.getColumn(4)))) {
        places.emplace_back(command, p.order, read.size());
        read.push_back(std::move(p.answer));
      }
    }
  }
  // The places are sorted, not the answers: an answer is large to move.
  std::stable_sort(places.begin(), places.end(), [](const auto& a, const auto& b) {
    return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
  });
  std::vector<RecordedAnswer> answers;
  answers.reserve(read.size());
  for (const auto& place : places) answers.push_back(std::move(read[std::get<2>(place)]));
  return answers;
}

std::optional<long long> AnswerPacks::LastBody(const std::string& day, const RequestKey& key) {
  if (key.probe) return std::nullopt;
  if (HasPacks()) {
    SQLite::Statement s(db_,
                        "SELECT codec, size, rows FROM answer_packs WHERE day = ? AND role = ? "
                        "AND path = ? ORDER BY command DESC");
    s.bind(1, day);
    s.bind(2, key.role);
    s.bind(3, key.path);
    while (s.executeStep()) {
      const std::vector<PackedAnswer> pack = Unpacked(s, day, key.role, key.path);
      for (auto p = pack.rbegin(); p != pack.rend(); ++p) {
        const RecordedAnswer& a = p->answer;
        if (!a.key.probe && !a.answer.failed && a.bodyId != 0 && a.key.query == key.query)
          return a.bodyId;
      }
    }
  }
  // Rows of an older release come before every pack of their day.
  SQLite::Statement s(db_,
                      "SELECT body_id FROM answers WHERE day = ? AND role = ? AND path = ? AND "
                      "query = ? AND probe IS NULL AND failed = 0 AND body_id IS NOT NULL "
                      "ORDER BY answers.id DESC LIMIT 1");
  s.bind(1, day);
  s.bind(2, key.role);
  s.bind(3, key.path);
  s.bind(4, key.query);
  if (!s.executeStep()) return std::nullopt;
  return s.getColumn(0).getInt64();
}

std::optional<std::string> AnswerPacks::FirstUnpackedDay() {
  SQLite::Statement s(db_, "SELECT day FROM answers ORDER BY day LIMIT 1");
  if (!s.executeStep()) return std::nullopt;
  return s.getColumn(0).getString();
}

long long AnswerPacks::PackDay(const std::string& day) {
  auto rows = Rows(day);
  if (rows.empty()) return 0;
  // Numbered by the first row: before every command packed since, whose numbers follow the
  // rows' own.
  const long long command = rows.front().first;
  std::vector<RecordedAnswer> answers;
  answers.reserve(rows.size());
  for (auto& row : rows) answers.push_back(std::move(row.second));
  Write(day, command, answers);
  SQLite::Statement drop(db_, "DELETE FROM answers WHERE day = ?");
  drop.bind(1, day);
  return drop.exec();
}

}  // namespace trotix
