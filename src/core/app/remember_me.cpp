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

using Lines = std::optional<std::vector<std::string>>;

std::string Ignored(const std::string& why) {
  return std::string(kRememberMeFile) + " ignored: " + why;
}

// No lines, and why the file was left unread.
Lines Unread(std::string& note, const std::string& why) {
  note = Ignored(why);
  return std::nullopt;
}

// The file's lines; none when it is missing or ignored, with the reason in `note`.
Lines ReadLines(const std::filesystem::path& folder, std::string& note) {
  const auto path = folder / kRememberMeFile;
  const std::string notRegular = "not a regular file";
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
  if (!ec && !std::filesystem::is_regular_file(status)) return Unread(note, notRegular);

  // The name may have been swapped since: open without following a link or waiting on a
  // FIFO, then judge what was opened.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return std::nullopt;
    if (errno == ELOOP) return Unread(note, notRegular);
    return Unread(note, std::strerror(errno));
  }
  struct Close {
    int fd;
    ~Close() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return Unread(note, notRegular);
  const std::string tooLarge = "larger than 64 KiB";
  if (static_cast<std::size_t>(st.st_size) > kMaxRememberMeBytes) return Unread(note, tooLarge);

  // One byte past the limit tells a file that grew since.
  std::string text(kMaxRememberMeBytes + 1, '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Unread(note, std::strerror(errno));
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > kMaxRememberMeBytes) return Unread(note, tooLarge);
  text.resize(got);
  return SplitLines(text);
}

// The data server a file names, empty for an older file without one.
std::string ServerOf(const std::vector<std::string>& lines) {
  return lines.size() > 2 ? lines[2] : std::string();
}

bool ForAnotherServer(const std::vector<std::string>& lines, std::string_view dataServer) {
  return !ServerOf(lines).empty() && !dataServer.empty() && ServerOf(lines) != dataServer;
}

}  // namespace

RememberMeLoad LoadRememberMe(const std::filesystem::path& folder, std::string_view dataServer) {
  RememberMeLoad load;
  const auto lines = ReadLines(folder, load.note);
  if (!lines) return load;
  if (ForAnotherServer(*lines, dataServer)) {
    load.note = Ignored("remembered for " + ServerOf(*lines));
    return load;
  }
  Credentials c;
  if (!lines->empty()) c.login = (*lines)[0];
  if (lines->size() > 1) c.password = (*lines)[1];
  load.credentials = c;
  return load;
}

std::string SaveRememberMe(const std::filesystem::path& folder, const Credentials& c,
                           std::string_view dataServer) {
  std::string text = c.login + "\r\n" + c.password + "\r\n";
  if (!dataServer.empty()) text += std::string(dataServer) + "\r\n";
  return SaveTextFile(folder / kRememberMeFile, text);
}

void DeleteRememberMe(const std::filesystem::path& folder, std::string_view dataServer) {
  std::string note;
  if (const auto lines = ReadLines(folder, note); lines && ForAnotherServer(*lines, dataServer))
    return;
  std::error_code ignored;
  std::filesystem::remove(folder / kRememberMeFile, ignored);
}

}  // namespace trotix
