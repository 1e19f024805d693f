#include "report/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace trotix {
namespace {
std::string Failure(const std::filesystem::path& path, int err) {
  return "Cannot write " + path.string() + ": " + std::strerror(err);
}
}  // namespace

std::string SaveTextFile(const std::filesystem::path& path, std::string_view content,
                         bool ownerOnly) {
  std::filesystem::path temp = path;
  temp += ".tmp-" + std::to_string(::getpid());
  const mode_t mode = ownerOnly ? 0600 : 0644;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return Failure(path, errno);
  if (ownerOnly) ::fchmod(fd, mode);  // an old temporary file may carry wider permissions
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : EIO;
      ::close(fd);
      ::unlink(temp.c_str());
      return Failure(path, err);
    }
    written += static_cast<std::size_t>(n);
  }
  // The descriptor is closed even when the flush fails.
  const int synced = ::fsync(fd) == 0 ? 0 : errno;
  const int closed = ::close(fd) == 0 ? 0 : errno;
  if (synced != 0 || closed != 0) {
    ::unlink(temp.c_str());
    return Failure(path, synced != 0 ? synced : closed);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return Failure(path, err);
  }
  return {};
}

}  // namespace trotix
