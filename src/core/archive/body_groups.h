#pragma once
// Small bodies packed together. A runner page packed alone against the dictionary still takes
// ~90 bytes; the pages one command fetched, packed as one frame, take a fraction of that. So
// when a command's answers are written, the small bodies it newly stored are packed again as
// one group frame per role (`body_groups`), each body then pointing into its group (codec
// kGrouped, the group's id and its offset; its own bytes emptied, its size and hash kept, so a
// duplicate is still found by its hash). Large bodies stay alone: a replay never unpacks more
// than a group's cap for one page.
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace SQLite {
class Database;
}

namespace trotix {

class BodyPacker;

inline constexpr std::size_t kGroupedBodyMax = 64 * 1024;  // larger bodies stay alone
inline constexpr std::size_t kBodyGroupMax = 1024 * 1024;  // raw bytes of one group at most

// Reads bodies out of their groups, keeping the last groups unpacked (bounded), so a replay
// that reads a command's pages one by one unpacks their group once. Safe from several threads.
class BodyGroupReader {
 public:
  // The `size` bytes at `offset` of group `group`; none when the group is gone or does not
  // unpack to a size that holds them.
  std::optional<std::string> Read(SQLite::Database& db, const BodyPacker& packer, long long group,
                                  long long offset, std::size_t size);
  // Drops what is kept: after a write that may have been rolled back.
  void Forget();

 private:
  static constexpr std::size_t kKept = 2;
  std::mutex mutex_;
  // The most recently read last.
  std::vector<std::pair<long long, std::shared_ptr<const std::string>>> kept_;
};

// A body a command refers to, with the role of its first answer.
struct CommandBody {
  long long id = 0;
  std::string role;
};

// Packs the small single-frame bodies among `bodies` that no earlier answer refers to into
// groups, one role's bodies together, in the caller's transaction. A group that would not
// shrink the bodies, or one of a single body, is not made. Returns the number of bodies grouped.
int GroupNewBodies(SQLite::Database& db, const BodyPacker& packer,
                   const std::vector<CommandBody>& bodies);

}  // namespace trotix
