// The password from a file of the owner's, and from a prompt without echo on a real
// pseudo-terminal.
#include "options/password.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <string>

#include "support/temp_folder.h"

namespace trotix {
namespace {

TEST(PasswordFile, FirstLineOfARegularSmallFile) {
  testing::TempFolder dir;
  struct Case {
    const char* name;
    std::string content;  // nothing written when empty and `folder`
    bool folder;
    std::string password, error;  // `error`: a part of it
  };
  const Case cases[] = {
      {"one line", "s3cret\n", false, "s3cret", ""},
      {"windows line end and more lines", "pa ss\r\nnext\n", false, "pa ss", ""},
      {"no line end", "word", false, "word", ""},
      {"empty", "", false, "", ""},
      {"too large", std::string(5000, 'x'), false, "", "at most 4 KiB"},
      {"a folder", "", true, "", "not a regular file"},
  };
  for (const Case& c : cases) {
    const auto file = dir.path() / c.name;
    if (c.folder) {
      std::filesystem::create_directory(file);
    } else {
      std::ofstream(file, std::ios::binary) << c.content;
    }
    std::string error;
    EXPECT_EQ(ReadPasswordFile(file, error), c.password) << c.name;
    if (c.error.empty()) {
      EXPECT_EQ(error, "") << c.name;
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }
  }
  std::string error;
  EXPECT_EQ(ReadPasswordFile(dir.path() / "missing", error), "");
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

// A pseudo-terminal: the prompt's side and the typing side.
struct Terminal {
  Terminal() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
    slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  }
  ~Terminal() {
    if (slave >= 0) ::close(slave);
    if (master >= 0) ::close(master);
  }
  // What the terminal shows until `until` appears (or 5 s pass).
  std::string ShownUntil(const std::string& until) {
    std::string shown;
    while (shown.find(until) == std::string::npos) {
      pollfd p{master, POLLIN, 0};
      if (::poll(&p, 1, 5000) != 1) break;
      char buf[256];
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n <= 0) break;
      shown.append(buf, static_cast<std::size_t>(n));
    }
    return shown;
  }
  int master = -1, slave = -1;
};

TEST(PasswordPrompt, TypedWithoutEchoAndTheTerminalPutBack) {
  struct Case {
    const char* name;
    std::string typed;
    std::optional<std::string> password;
  };
  const Case cases[] = {
      {"enter", "s3cret\r", "s3cret"},
      {"backspace", "s3cx\x7fret\r", "s3cret"},
      {"a character of two bytes rubbed out", "pw\xc3\xa9\x7f\n", "pw"},
      {"ctrl+c", "s3c\x03", std::nullopt},
      {"ctrl+d", "\x04", std::nullopt},
  };
  for (const Case& c : cases) {
    Terminal t;
    ASSERT_GE(t.slave, 0);
    termios before{};
    ASSERT_EQ(::tcgetattr(t.slave, &before), 0);
    ASSERT_TRUE(before.c_lflag & ECHO);
    auto typed = std::async(std::launch::async,
                            [&] { return PromptPassword(t.slave, t.slave, "Password for me: "); });
    const std::string prompt = t.ShownUntil("Password for me: ");
    ASSERT_NE(prompt.find("Password for me: "), std::string::npos) << c.name;
    ASSERT_EQ(::write(t.master, c.typed.data(), c.typed.size()),
              static_cast<ssize_t>(c.typed.size()));
    ASSERT_EQ(typed.wait_for(std::chrono::seconds(5)), std::future_status::ready) << c.name;
    EXPECT_EQ(typed.get(), c.password) << c.name;
    const std::string after = t.ShownUntil("\n");
    EXPECT_EQ(after, "\r\n") << c.name << ": nothing typed is shown";
    termios now{};
    ASSERT_EQ(::tcgetattr(t.slave, &now), 0);
    EXPECT_EQ(now.c_lflag, before.c_lflag) << c.name;
  }
}

}  // namespace
}  // namespace trotix
