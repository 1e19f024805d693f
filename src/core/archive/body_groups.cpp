#include "archive/body_groups.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <set>
#include <string_view>

#include "archive/body_codec.h"

namespace trotix {
namespace {

struct GroupMember {
  int64_t id = 0, hash = 0, size = 0, offset = 0;
};

// One role's bodies gathered for a group: laid end to end, each with its offset.
struct PendingGroup {
  std::string raw;
  std::vector<GroupMember> members;
  std::size_t storedAlone = 0;  // bytes the bodies take now
};

int StoreGroup(SQLite::Database& db, const BodyPacker& packer, const std::string& role,
               PendingGroup& pending) {
  PendingGroup group = std::move(pending);
  pending = {};
  if (group.members.size() < 2) return 0;
  const PackedBody packed = packer.PackGroup(group.raw);
  if (packed.codec == BodyCodec::kPlain || packed.bytes.size() >= group.storedAlone) return 0;
  SQLite::Statement insert(
      db, "INSERT INTO body_groups (role, codec, size, frame) VALUES (?, ?, ?, ?)");
  insert.bind(1, role);
  insert.bind(2, static_cast<int>(packed.codec));
  insert.bind(3, static_cast<int64_t>(group.raw.size()));
  insert.bind(4, packed.bytes.data(), static_cast<int>(packed.bytes.size()));
  insert.exec();
  const long long id = db.getLastInsertRowid();
  // Deleted and stored again under their ids: rows shrunk in place would leave their pages
  // two-thirds empty, where pages emptied whole are taken again by the next bodies.
  SQLite::Statement drop(db, "DELETE FROM bodies WHERE id = ?");
  for (const GroupMember& m : group.members) {
    drop.bind(1, m.id);
    drop.exec();
    drop.reset();
  }
  SQLite::Statement point(db,
                          "INSERT INTO bodies (id, hash, size, body, codec, group_id, "
                          "group_offset) VALUES (?, ?, ?, x'', ?, ?, ?)");
  for (const GroupMember& m : group.members) {
    point.bind(1, m.id);
    point.bind(2, m.hash);
    point.bind(3, m.size);
    point.bind(4, static_cast<int>(BodyCodec::kGrouped));
    point.bind(5, static_cast<int64_t>(id));
    point.bind(6, m.offset);
    point.exec();
    point.reset();
  }
  return static_cast<int>(group.members.size());
}

}  // namespace

std::optional<std::string> BodyGroupReader::Read(SQLite::Database& db, const BodyPacker& packer,
                                                 long long group, long long offset,
                                                 std::size_t size) {
  std::shared_ptr<const std::string> raw;
  {
    std::lock_guard lock(mutex_);
    const auto it = std::find_if(kept_.begin(), kept_.end(),
                                 [&](const auto& kept) { return kept.first == group; });
    if (it != kept_.end()) {
      raw = it->second;
      std::rotate(it, it + 1, kept_.end());
    }
  }
  if (!raw) {
    SQLite::Statement s(db, "SELECT codec, size, frame FROM body_groups WHERE id = ?");
    s.bind(1, static_cast<int64_t>(group));
    if (!s.executeStep()) return std::nullopt;
    const SQLite::Column frame = s.getColumn(2);
    auto unpacked = packer.Unpack(static_cast<BodyCodec>(s.getColumn(0).getInt()),
                                  std::string_view(static_cast<const char*>(frame.getBlob()),
                                                   static_cast<std::size_t>(frame.getBytes())),
                                  static_cast<std::size_t>(s.getColumn(1).getInt64()));
    if (!unpacked) return std::nullopt;
    raw = std::make_shared<const std::string>(std::move(*unpacked));
    std::lock_guard lock(mutex_);
    if (kept_.size() >= kKept) kept_.erase(kept_.begin());
    kept_.emplace_back(group, raw);
  }
  if (offset < 0 || static_cast<std::size_t>(offset) > raw->size() ||
      size > raw->size() - static_cast<std::size_t>(offset))
    return std::nullopt;
  return raw->substr(static_cast<std::size_t>(offset), size);
}

void BodyGroupReader::Forget() {
  std::lock_guard lock(mutex_);
  kept_.clear();
}

int GroupNewBodies(SQLite::Database& db, const BodyPacker& packer,
                   const std::vector<CommandBody>& bodies) {
  // Older releases' bodies, and those an earlier command refers to, stay as they are.
  SQLite::Statement fresh(
      db,
      "SELECT codec, size, body, hash FROM bodies WHERE id = ? AND codec IN (0, 1, 2) "
      "AND size BETWEEN 1 AND ? AND NOT EXISTS (SELECT 1 FROM body_refs WHERE "
      "body_refs.body_id = bodies.id) AND NOT EXISTS (SELECT 1 FROM answers "
      "WHERE answers.body_id = bodies.id)");
  std::map<std::string, PendingGroup> pending;
  std::set<long long> seen;
  int grouped = 0;
  for (const CommandBody& b : bodies) {
    if (b.id == 0 || !seen.insert(b.id).second) continue;
    fresh.bind(1, static_cast<int64_t>(b.id));
    fresh.bind(2, static_cast<int64_t>(kGroupedBodyMax - 1));
    if (!fresh.executeStep()) {
      fresh.reset();
      continue;
    }
    const SQLite::Column bytes = fresh.getColumn(2);
    const std::size_t stored = static_cast<std::size_t>(bytes.getBytes());
    const GroupMember member{b.id, fresh.getColumn(3).getInt64(), fresh.getColumn(1).getInt64(), 0};
    // A body that does not unpack here stays as it is, to fail its own read.
    const auto body =
        packer.Unpack(static_cast<BodyCodec>(fresh.getColumn(0).getInt()),
                      std::string_view(static_cast<const char*>(bytes.getBlob()), stored),
                      static_cast<std::size_t>(fresh.getColumn(1).getInt64()));
    fresh.reset();
    if (!body) continue;
    PendingGroup& group = pending[b.role];
    if (group.raw.size() + body->size() > kBodyGroupMax)
      grouped += StoreGroup(db, packer, b.role, group);
    group.members.push_back(member);
    group.members.back().offset = static_cast<int64_t>(group.raw.size());
    group.raw += *body;
    group.storedAlone += stored;
  }
  for (auto& [role, group] : pending) grouped += StoreGroup(db, packer, role, group);
  return grouped;
}

}  // namespace trotix
