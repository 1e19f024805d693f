// Moving the data folder: every file Trotix keeps goes along, the open archive included, and a
// move that fails half-way puts everything back.
#include "app/data_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "archive/sqlite_archive.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

namespace fs = std::filesystem;

// The archive is open: its log files are there beside it.
const std::vector<std::string> kKept = {
    "proof-best-rank.csv", "report-07.12.2026.html", "report.csv", "report.html", "trotix.db",
    "trotix.db-shm",       "trotix.db-wal",          "tx.log",     "video.html"};

void Touch(const fs::path& file, const std::string& text = "x") {
  std::ofstream(file, std::ios::binary) << text;
}

// A data folder: an open archive holding a day, each file of the folder, and one of the user's
// own that is none of Trotix's.
struct Folder {
  Folder() {
    fs::create_directory(from);
    archive = std::make_unique<SqliteArchive>(from / kArchiveFileName);
    ArchiveWrite w;
    w.day = Date{2026, 12, 8};
    archive->Write(w);
    for (const std::string& name : kKept)
      if (!name.starts_with(kArchiveFileName)) Touch(from / name, name);
    Touch(from / "notes.txt");
  }
  testing::TempFolder temp;
  fs::path from = temp.path() / "from", to = temp.path() / "new" / "to";
  std::unique_ptr<SqliteArchive> archive;
};

TEST(DataFolder, EveryFileGoesAlongAndTheArchiveWritesThere) {
  Folder f;
  EXPECT_EQ(DataFileNames(f.from), kKept);
  ASSERT_EQ(MoveDataFolder(f.from, f.to, f.archive.get()), "");
  EXPECT_EQ(DataFileNames(f.to), kKept);
  EXPECT_EQ(DataFileNames(f.from), std::vector<std::string>());
  EXPECT_TRUE(fs::exists(f.from / "notes.txt"));  // the user's own stays
  EXPECT_EQ(testing::ReadFile(f.to / "tx.log"), "tx.log");
  EXPECT_EQ(f.archive->file(), f.to / kArchiveFileName);
  ArchiveWrite w;
  w.day = Date{2026, 12, 9};
  f.archive->Write(w);
  EXPECT_EQ(SqliteArchive(f.to / kArchiveFileName).Days().size(), 2u);
  EXPECT_FALSE(fs::exists(f.from / kArchiveFileName));
  // Into the folder it is already in: nothing to do.
  EXPECT_EQ(MoveDataFolder(f.to, f.to, f.archive.get()), "");
  EXPECT_EQ(DataFileNames(f.to), kKept);
}

TEST(DataFolder, ClashesAreTheNamesBothFoldersHold) {
  struct Case {
    std::vector<std::string> there, clashes;
  };
  const Case cases[] = {
      {{}, {}},
      {{"notes.txt", "trotix-demo.db"}, {}},
      {{"tx.log", "notes.txt"}, {"tx.log"}},
      {{"trotix.db", "report.csv"}, {"report.csv", "trotix.db"}},
  };
  for (const Case& c : cases) {
    Folder f;
    fs::create_directories(f.to);
    for (const std::string& name : c.there) Touch(f.to / name);
    EXPECT_EQ(DataFileClashes(f.from, f.to), c.clashes) << c.there.size();
    EXPECT_EQ(DataFileClashes(f.from, f.from), std::vector<std::string>());
  }
}

// A name in the new folder taken by a folder of the user's: the archive's own, or one of the
// files after it. Whatever moved goes back, the archive is open and written where it was.
TEST(DataFolder, AMoveThatFailsPutsEverythingBack) {
  for (const char* blocked : {"trotix.db", "tx.log", "report.csv"}) {
    Folder f;
    fs::create_directories(f.to / blocked);
    Touch(f.to / blocked / "keep");
    const std::string error = MoveDataFolder(f.from, f.to, f.archive.get());
    EXPECT_TRUE(error.starts_with("The data folder's files stay in " + f.from.string() + ": "))
        << blocked << ": " << error;
    EXPECT_EQ(DataFileNames(f.from), kKept) << blocked;
    EXPECT_EQ(DataFileNames(f.to), std::vector<std::string>()) << blocked;
    EXPECT_EQ(f.archive->file(), f.from / kArchiveFileName);
    ArchiveWrite w;
    w.day = Date{2026, 12, 9};
    f.archive->Write(w);
    EXPECT_EQ(f.archive->Days().size(), 2u) << blocked;
  }
}

}  // namespace
}  // namespace trotix
