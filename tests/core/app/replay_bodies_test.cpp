// The bodies a run of replayed days reads: each read from the archive once while it is asked for
// again, dropped once a day passes without it, and never more kept than the cap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/replay_bodies.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

struct Case {
  const char* name;
  std::size_t cap;
  std::vector<std::vector<int>> days;  // the bodies each day asks for, by their place below
  long long reads;                     // how many come from the archive
};

TEST(ReplayBodies, ReadsEachBodyOnceWhileItIsAskedForAgain) {
  testing::TempFolder folder;
  SqliteArchive store(folder.path() / "trotix.db");
  SessionArchive archive(store);
  // Three pages of 1000 bytes and a table of 4000, all different.
  const std::vector<std::string> bodies = {std::string(1000, 'a'), std::string(1000, 'b'),
                                           std::string(1000, 'c'), std::string(4000, 't')};
  std::vector<long long> ids;
  for (const std::string& b : bodies) ids.push_back(store.StoreBody(b));

  const Case cases[] = {
      {"a day asking twice reads once", 1 << 20, {{3, 0, 1, 0, 1}}, 3},
      {"a body every day asks for is read once", 1 << 20, {{3, 0}, {3, 1}, {3, 2}}, 4},
      {"a body a day skipped is read again", 1 << 20, {{0, 3}, {3}, {0}}, 3},
      {"past the cap later bodies are read each time", 5000, {{3, 0, 1, 3, 0, 1}}, 4},
      {"no cap keeps nothing", 0, {{0, 0}, {0}}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReplayBodies kept(archive, c.cap);
    for (const auto& day : c.days) {
      kept.NextDay();
      const auto read = kept.Reader();
      for (int i : day) EXPECT_EQ(read(ids[i]), bodies[i]);
      EXPECT_LE(kept.keptBytes(), c.cap);
    }
    EXPECT_EQ(kept.archiveReads(), c.reads);
  }
}

TEST(ReplayBodies, ABodyThatCannotBeReadIsNotKept) {
  testing::TempFolder folder;
  SqliteArchive store(folder.path() / "trotix.db");
  SessionArchive archive(store);
  ReplayBodies kept(archive);
  const auto read = kept.Reader();
  EXPECT_EQ(read(12345), std::nullopt);
  EXPECT_EQ(read(12345), std::nullopt);
  EXPECT_EQ(kept.archiveReads(), 2);
  EXPECT_EQ(kept.keptBytes(), 0u);
}

}  // namespace
}  // namespace trotix
