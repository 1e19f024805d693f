// Saving when the disk or the folder says no: a clear error text, the earlier file whole, no
// temporary file left behind. Also the remember-me file saved through the sign-in.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/remember_me.h"
#include "report/save_file.h"
#include "support/fixture_server.h"
#include "support/session_harness.h"

namespace trotix {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int FilesIn(const fs::path& folder) {
  return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A full disk for this process: writes past `bytes` fail with EFBIG instead of a signal.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

const std::string kEarlier = "<html>\r\nthe earlier report\r\n</html>\r\n";

TEST(SaveFaults, FailedWritesKeepTheEarlierFileWhole) {
  const std::string larger(64 * 1024, 'x');
  struct Case {
    const char* what;
    std::function<fs::path(const fs::path&)> prepare;  // returns the file to save
    const char* errorPart;
  };
  const Case cases[] = {
      {"disk full",
       [](const fs::path& dir) {
         std::ofstream(dir / "report.html", std::ios::binary) << kEarlier;
         return dir / "report.html";
       },
       "File too large"},
      {"folder missing", [](const fs::path& dir) { return dir / "gone" / "report.html"; },
       "No such file or directory"},
      {"folder is a file",
       [](const fs::path& dir) {
         std::ofstream(dir / "plain", std::ios::binary) << "x";
         return dir / "plain" / "report.html";
       },
       "Not a directory"},
      {"name taken by a folder",
       [](const fs::path& dir) {
         fs::create_directory(dir / "video.html");
         std::ofstream(dir / "video.html" / "inside", std::ios::binary) << kEarlier;
         return dir / "video.html";
       },
       "Is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const fs::path target = c.prepare(folder.path());
    const int filesBefore = FilesIn(folder.path());
    std::string error;
    {
      std::optional<FileSizeLimit> full;
      if (std::string(c.what) == "disk full") full.emplace(1024);
      error = SaveTextFile(target, larger);
    }
    EXPECT_NE(error.find("Cannot write " + target.string()), std::string::npos) << error;
    EXPECT_NE(error.find(c.errorPart), std::string::npos) << error;
    EXPECT_EQ(FilesIn(folder.path()), filesBefore) << "a temporary file was left behind";
    if (fs::is_regular_file(target)) {
      EXPECT_EQ(Read(target), kEarlier);
    } else if (fs::is_directory(target)) {
      EXPECT_EQ(Read(target / "inside"), kEarlier);
    }
  }
}

TEST(SaveFaults, ReadOnlyFolderRefusesTheSave) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
  TempFolder folder;
  std::ofstream(folder.path() / "report.csv", std::ios::binary) << kEarlier;
  ::chmod(folder.path().c_str(), 0500);
  const std::string error = SaveTextFile(folder.path() / "report.csv", "new");
  ::chmod(folder.path().c_str(), 0700);
  EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
  EXPECT_EQ(Read(folder.path() / "report.csv"), kEarlier);
}

TEST(SaveFaults, ReplacesWholeAndOwnerOnly) {
  TempFolder folder;
  const fs::path target = folder.path() / "tx.log";
  std::ofstream(target, std::ios::binary) << kEarlier;
  ::chmod(target.c_str(), 0644);
  ASSERT_EQ(SaveTextFile(target, "a\r\nb\r\n"), "");
  EXPECT_EQ(Read(target), "a\r\nb\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(FilesIn(folder.path()), 1);
}

// The remember-me file cannot be saved: the user is told, the old file stays, the day loads.
TEST(SaveFaults, SignInWithUnsavableRememberMe) {
  testing::FixtureServer vendor;
  vendor.Set("/refresh/trotix3.8.txt", "current");
  vendor.Set("/bc/tipsters.xml", "");
  vendor.Set("/bc/move.xml", "");
  vendor.Set("/login/trotix.php",
             "<zabeg><course>Ascot</course><time>13:30</time><name>Maiden</name>"
             "<horse><number>1</number><name_horse>Dune</name_horse></horse></zabeg>\n");
  testing::SessionHarness h(vendor.Base());
  const std::string earlier = "old-login\r\nold-password\r\n";
  std::ofstream(h.folder.path() / kRememberMeFile, std::ios::binary) << earlier;
  h.session->Start();
  // A login longer than the disk allows below.
  const SignInForm form{std::string(2000, 'L'), "secret", /*rememberMe=*/true};
  SignInResult result;
  {
    FileSizeLimit full(1024);
    result = h.session->SignIn(form);
  }
  EXPECT_EQ(result, SignInResult::SignedIn);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_NE(h.messages.shown[0].find("Cannot write"), std::string::npos);
  EXPECT_NE(h.messages.shown[0].find(kRememberMeFile), std::string::npos);
  EXPECT_EQ(Read(h.folder.path() / kRememberMeFile), earlier);
  EXPECT_EQ(h.ws().RT.RowCount(), 1);
}

}  // namespace
}  // namespace trotix
