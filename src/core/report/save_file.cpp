#include "report/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace trotix {
namespace {

std::string ErrorText(const std::filesystem::path& path, int error) {
  return "Cannot write " + path.string() + ": " + std::generic_category().message(error);
}

// A name of our own beside the target, so the rename stays within one file system.
std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path tmp = path.parent_path();
  tmp /= "." + path.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
         std::to_string(counter++);
  return tmp;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string SaveTextFile(const std::filesystem::path& path, std::string_view content) {
  // O_EXCL on a fresh name: never reuse a stray temporary file with wider permissions.
  const mode_t mode = 0600;
  std::filesystem::path tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = TemporaryBeside(path);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return ErrorText(path, errno);

  int error = 0;
  if (!WriteAll(fd, content) || ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tmp.c_str());
    return ErrorText(path, error);
  }
  return {};
}

std::string SaveTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                         std::string_view lineEnd) {
  std::string content;
  for (const auto& line : lines) {
    content += line;
    content += lineEnd;
  }
  return SaveTextFile(path, content);
}

std::string MakeFolder(const std::filesystem::path& folder) {
  std::filesystem::path at;
  for (const auto& part : folder) {
    at /= part;
    if (::mkdir(at.c_str(), 0700) != 0 && errno != EEXIST)
      return "Cannot make the folder " + at.string() + ": " +
             std::generic_category().message(errno);
  }
  if (!std::filesystem::is_directory(folder))
    return "Cannot make the folder " + folder.string() + ": " +
           std::generic_category().message(ENOTDIR);
  return {};
}

}  // namespace trotix
