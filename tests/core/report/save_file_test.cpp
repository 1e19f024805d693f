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

TEST(SaveTextFile, OwnerOnlyPermissions) {
  testing::TempFolder dir;
  const fs::path path = dir.path() / "tx.log";
  ASSERT_EQ(SaveTextFile(path, "login\r\npassword\r\n", true), "");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // A file that was wider before is narrowed by the replacement.
  fs::permissions(path, fs::perms::all);
  ASSERT_EQ(SaveTextFile(path, "again", true), "");
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
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
