#include "report/save_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace trotix {
namespace {

namespace fs = std::filesystem;

int FilesIn(const fs::path& dir) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

TEST(SaveTextFile, ReplacesTheFileWhole) {
  testing::TempFolder dir;
  const fs::path path = dir.path() / "page.html";
  ASSERT_EQ(SaveTextFile(path, "old"), "");
  ASSERT_EQ(SaveTextFile(path, std::vector<std::string>{"a", "", "b\xe9"}, "\r\n"), "");
  EXPECT_EQ(testing::ReadFile(path), "a\r\n\r\nb\xe9\r\n");
  ASSERT_EQ(SaveTextFile(path, std::vector<std::string>{"x"}, "\n"), "");
  EXPECT_EQ(testing::ReadFile(path), "x\n");
  EXPECT_EQ(FilesIn(dir.path()), 1);  // no temporary file left behind
}

unsigned ModeOf(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Every file of the data folder is its owner's alone: the remember-me file, the report's pages,
// the Proof page's lists.
TEST(SaveTextFile, OwnerOnlyPermissions) {
  testing::TempFolder dir;
  const mode_t mask = ::umask(0);  // the widest the process could ask for
  for (const char* name : {"tx.log", "report.html", "report.csv", "proof-best-rank.csv"}) {
    const fs::path path = dir.path() / name;
    ASSERT_EQ(SaveTextFile(path, "login\r\npassword\r\n"), "");
    EXPECT_EQ(ModeOf(path), 0600u) << name;
    // A file that was wider before is narrowed by the replacement.
    fs::permissions(path, fs::perms::all);
    ASSERT_EQ(SaveTextFile(path, "again"), "");
    EXPECT_EQ(ModeOf(path), 0600u) << name;
  }
  ::umask(mask);
}

// The folders made for the data are their owner's alone; one that was there keeps its mode.
TEST(SaveTextFile, MakeFolderOwnerOnly) {
  testing::TempFolder dir;
  const mode_t mask = ::umask(0);
  fs::create_directory(dir.path() / "shared");
  fs::permissions(dir.path() / "shared", fs::perms::owner_all | fs::perms::group_all);
  const fs::path data = dir.path() / "shared" / "share" / "trotix";
  EXPECT_EQ(MakeFolder(data), "");
  EXPECT_EQ(MakeFolder(data), "") << "a folder that is there is no error";
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir.path() / "shared"), 0770u);
  EXPECT_EQ(ModeOf(dir.path() / "shared" / "share"), 0700u);
  EXPECT_EQ(ModeOf(data), 0700u);
  ASSERT_EQ(SaveTextFile(dir.path() / "file", "x"), "");
  const std::string error = MakeFolder(dir.path() / "file" / "below");
  EXPECT_NE(error.find("Cannot make the folder"), std::string::npos) << error;
  EXPECT_NE(MakeFolder(dir.path() / "file"), "") << "a file is no folder";
}

TEST(SaveTextFile, FailureGivesTextAndKeepsTheEarlierFile) {
  testing::TempFolder dir;
  const fs::path folderTarget = dir.path() / "report.html";
  fs::create_directory(folderTarget);
  fs::create_directory(folderTarget / "inside");  // a non-empty folder is never replaced
  const fs::path earlier = dir.path() / "video.html";
  ASSERT_EQ(SaveTextFile(earlier, "earlier page"), "");

  const fs::path missing = dir.path() / "no such folder" / "video.html";
  for (const fs::path& bad : {folderTarget, missing}) {
    const std::string error = SaveTextFile(bad, std::vector<std::string>{"new"}, "\r\n");
    EXPECT_NE(error, "") << bad;
    EXPECT_NE(error.find(bad.string()), std::string::npos) << error;
  }
  EXPECT_TRUE(fs::is_directory(folderTarget / "inside"));
  EXPECT_EQ(testing::ReadFile(earlier), "earlier page");
  EXPECT_EQ(FilesIn(dir.path()), 2);  // the folder and the earlier file, no temporary file
}

}  // namespace
}  // namespace trotix
