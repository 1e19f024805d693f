#include "app/remember_me.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "report/save_file.h"
#include "text/strings.h"

namespace trotix {
namespace {

constexpr std::size_t kMaxRememberMeBytes = 64 * 1024;

std::string Ignored(const std::string& why) {
  return std::string(kRememberMeFile) + " ignored: " + why;
}

}  // namespace

RememberMeLoad LoadRememberMe(const std::filesystem::path& folder) {
  const auto path = folder / kRememberMeFile;
  const std::string notRegular = Ignored("not a regular file");
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return {};
  if (!ec && !std::filesystem::is_regular_file(status)) return {std::nullopt, notRegular};

  // The name may have been swapped since: open without following a link or waiting on a
  // FIFO, then judge what was opened.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return {};
    if (errno == ELOOP) return {std::nullopt, notRegular};
    return {std::nullopt, Ignored(std::strerror(errno))};
  }
  struct Close {
    int fd;
    ~Close() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return {std::nullopt, notRegular};
  const std::string tooLarge = Ignored("larger than 64 KiB");
  if (static_cast<std::size_t>(st.st_size) > kMaxRememberMeBytes) return {std::nullopt, tooLarge};

  // One byte past the limit tells a file that grew since.
  std::string text(kMaxRememberMeBytes + 1, '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return {std::nullopt, Ignored(std::strerror(errno))};
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > kMaxRememberMeBytes) return {std::nullopt, tooLarge};
  text.resize(got);

  const auto lines = SplitLines(text);
  Credentials c;
  if (!lines.empty()) c.login = lines[0];
  if (lines.size() > 1) c.password = lines[1];
  return {c, {}};
}

std::string SaveRememberMe(const std::filesystem::path& folder, const Credentials& c) {
  return SaveTextFile(folder / kRememberMeFile, c.login + "\r\n" + c.password + "\r\n", true);
}

void DeleteRememberMe(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::remove(folder / kRememberMeFile, ignored);
}

}  // namespace trotix
