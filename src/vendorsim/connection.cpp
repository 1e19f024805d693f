#include "vendorsim/connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace trotix::vendorsim {
namespace {

thread_local bool tDrop = false;

constexpr int kKeepAliveMs = 5000;
constexpr int kReadTimeoutMs = 5000;
constexpr int kWriteTimeoutMs = 5000;
// How often a waiting connection looks whether the server is stopping.
constexpr int kSliceMs = 50;

void Address(int fd, bool peer, std::string& ip, int& port) {
  sockaddr_storage addr{};
  socklen_t len = sizeof addr;
  const int rc = peer ? getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &len)
                      : getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  if (rc != 0) return;
  char buf[INET6_ADDRSTRLEN] = {};
  if (addr.ss_family == AF_INET) {
    const auto* a = reinterpret_cast<const sockaddr_in*>(&addr);
    inet_ntop(AF_INET, &a->sin_addr, buf, sizeof buf);
    port = ntohs(a->sin_port);
  } else if (addr.ss_family == AF_INET6) {
    const auto* a = reinterpret_cast<const sockaddr_in6*>(&addr);
    inet_ntop(AF_INET6, &a->sin6_addr, buf, sizeof buf);
    port = ntohs(a->sin6_port);
  }
  ip = buf;
}

// One connection, read through a buffer because the request parser asks for single bytes.
class ConnectionStream final : public httplib::Stream {
 public:
  ConnectionStream(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}

  bool is_readable() const override { return begin_ < end_ || Wait(POLLIN, kReadTimeoutMs); }
  bool is_writable() const override { return !tDrop && Wait(POLLOUT, kWriteTimeoutMs); }

  ssize_t read(char* ptr, size_t size) override {
    if (begin_ == end_) {
      if (!Wait(POLLIN, kReadTimeoutMs)) return -1;
      const ssize_t n = ::recv(fd_, buf_, sizeof buf_, 0);
      if (n <= 0) return n;
      begin_ = 0;
      end_ = static_cast<size_t>(n);
    }
    const size_t n = std::min(size, end_ - begin_);
    std::memcpy(ptr, buf_ + begin_, n);
    begin_ += n;
    return static_cast<ssize_t>(n);
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (tDrop || !Wait(POLLOUT, kWriteTimeoutMs)) return -1;
    return ::send(fd_, ptr, size, MSG_NOSIGNAL);
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    Address(fd_, true, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    Address(fd_, false, ip, port);
  }
  socket_t socket() const override { return fd_; }

  // True when the next request has begun to arrive (or the peer closed, which the parser sees).
  bool NextRequest() const { return begin_ < end_ || Wait(POLLIN, kKeepAliveMs); }

 private:
  bool Wait(short events, int timeoutMs) const {
    for (int waited = 0; waited < timeoutMs; waited += kSliceMs) {
      if (stopping_.load(std::memory_order_relaxed)) return false;
      pollfd p{fd_, events, 0};
      const int rc = ::poll(&p, 1, std::min(kSliceMs, timeoutMs - waited));
      if (rc > 0) return true;
      if (rc < 0 && errno != EINTR) return false;
    }
    return false;
  }

  int fd_;
  const std::atomic<bool>& stopping_;
  char buf_[16384];
  size_t begin_ = 0, end_ = 0;
};

}  // namespace

void DropThisConnection() {
  tDrop = true;
}

bool SimHttpServer::process_and_close_socket(socket_t sock) {
  ConnectionStream stream(sock, stopping_);
  bool ok = false;
  while (!stopping_ && stream.NextRequest()) {
    tDrop = false;
    bool closed = false;
    ok = process_request(stream, false, closed, nullptr);
    if (!ok || closed || tDrop) break;
  }
  tDrop = false;
  ::shutdown(sock, SHUT_RDWR);
  ::close(sock);
  return ok;
}

}  // namespace trotix::vendorsim
