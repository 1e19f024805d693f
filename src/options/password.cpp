#include "options/password.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace trotix {
namespace {

constexpr std::size_t kMaxPasswordFile = 4096;

void WriteText(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::string ReadPasswordFile(const std::filesystem::path& file, std::string& error) {
  error.clear();
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    error = "cannot read " + file.string() + ": " + std::generic_category().message(errno);
    if (fd >= 0) ::close(fd);
    return {};
  }
  std::string text;
  if (!S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kMaxPasswordFile) {
    error = "cannot read " + file.string() + ": not a regular file of at most 4 KiB";
  } else {
    text.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < text.size()) {
      const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    text.resize(got);
  }
  ::close(fd);
  if (const auto end = text.find_first_of("\r\n"); end != std::string::npos) text.resize(end);
  return text;
}

std::optional<std::string> PromptPassword(int in, int out, const std::string& prompt) {
  termios before{};
  if (::tcgetattr(in, &before) != 0) return std::nullopt;
  // Byte by byte, without echo and without signals: Ctrl+C ends the prompt here instead of
  // killing the program with the terminal left silent.
  termios quiet = before;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | ISIG);
  quiet.c_cc[VMIN] = 1;
  quiet.c_cc[VTIME] = 0;
  // Quiet before the prompt shows, so nothing typed after it is echoed.
  if (::tcsetattr(in, TCSAFLUSH, &quiet) != 0) return std::nullopt;
  WriteText(out, prompt);
  std::optional<std::string> password = std::string();
  for (;;) {
    char c = 0;
    const ssize_t n = ::read(in, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || c == '\x03' || c == '\x04') {
      password.reset();
      break;
    }
    if (c == '\r' || c == '\n') break;
    if (c == '\x7f' || c == '\b') {
      // A whole character, however many bytes it took.
      while (!password->empty() && (password->back() & 0xC0) == 0x80) password->pop_back();
      if (!password->empty()) password->pop_back();
      continue;
    }
    password->push_back(c);
  }
  ::tcsetattr(in, TCSAFLUSH, &before);
  WriteText(out, "\n");
  return password;
}

}  // namespace trotix
