#include "vendorsim/connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace trotix::vendorsim {
namespace {

using SteadyClock = std::chrono::steady_clock;

thread_local bool tDrop = false;

// How long a connection may take to send a whole request head, the first or the next.
constexpr std::chrono::milliseconds kRequestWait{5000};
// How long a request body may take once its head is in, and each write of an answer.
constexpr int kReadTimeoutMs = 5000;
constexpr int kWriteTimeoutMs = 5000;
// A head this large without its end is no request.
constexpr std::size_t kMaxHeadBytes = 64 * 1024;
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

void CloseConnection(int fd) {
  ::shutdown(fd, SHUT_RDWR);
  ::close(fd);
}

bool HasWholeHead(const std::string& bytes) {
  return bytes.find("\r\n\r\n") != std::string::npos;
}

// The accept loop only hands each connection over; it never waits on one.
class HandOver final : public httplib::TaskQueue {
 public:
  void enqueue(std::function<void()> fn) override { fn(); }
  void shutdown() override {}
};

// One connection, read through a buffer because the request parser asks for single bytes. It
// starts with the bytes that arrived while the connection waited.
class ConnectionStream final : public httplib::Stream {
 public:
  ConnectionStream(int fd, const std::atomic<bool>& stopping, std::string bytes)
      : fd_(fd),
        stopping_(stopping),
        buf_(std::move(bytes)),
        readDeadline_(SteadyClock::now() + std::chrono::milliseconds(kReadTimeoutMs)) {}

  bool is_readable() const override { return pos_ < buf_.size() || WaitToRead(); }
  bool is_writable() const override { return !tDrop && Wait(POLLOUT, kWriteTimeoutMs); }

  ssize_t read(char* ptr, size_t size) override {
    if (pos_ == buf_.size()) {
      if (!WaitToRead()) return -1;
      buf_.resize(16384);
      const ssize_t n = ::recv(fd_, buf_.data(), buf_.size(), 0);
      buf_.resize(n > 0 ? static_cast<size_t>(n) : 0);
      pos_ = 0;
      if (n <= 0) return n;
    }
    const size_t n = std::min(size, buf_.size() - pos_);
    std::memcpy(ptr, buf_.data() + pos_, n);
    pos_ += n;
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

  // Bytes of the next request that came with this one.
  std::string Unread() const { return buf_.substr(pos_); }

 private:
  // A slow sender gets its whole time once, not once per byte.
  bool WaitToRead() const {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(readDeadline_ - SteadyClock::now());
    return left.count() > 0 && Wait(POLLIN, static_cast<int>(left.count()));
  }

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
  std::string buf_;
  size_t pos_ = 0;
  SteadyClock::time_point readDeadline_;
};

}  // namespace

void DropThisConnection() {
  tDrop = true;
}

SimHttpServer::SimHttpServer(const std::atomic<bool>& stopping) : stopping_(stopping) {
  new_task_queue = [] { return new HandOver; };
}

SimHttpServer::~SimHttpServer() {
  Finish();
}

void SimHttpServer::Begin(int workers) {
  Finish();
  wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  {
    std::lock_guard lock(mutex_);
    finished_ = false;
  }
  workers_ = std::make_unique<httplib::ThreadPool>(static_cast<size_t>(std::max(1, workers)));
  waiter_ = std::thread([this] { RunWaitingRoom(); });
}

void SimHttpServer::Finish() {
  {
    std::lock_guard lock(mutex_);
    if (finished_) return;
    finished_ = true;
  }
  const uint64_t one = 1;
  (void)!::write(wake_, &one, sizeof one);
  waiter_.join();
  // Requests still being answered end at once: the server is stopping.
  workers_->shutdown();
  workers_.reset();
  std::lock_guard lock(mutex_);
  for (const Waiting& c : arrived_) CloseConnection(c.fd);
  arrived_.clear();
  ::close(wake_);
  wake_ = -1;
}

// Called by the accept loop for each new connection.
bool SimHttpServer::process_and_close_socket(socket_t sock) {
  AwaitRequest(sock, {});
  return true;
}

void SimHttpServer::AwaitRequest(int fd, std::string bytes) {
  {
    std::lock_guard lock(mutex_);
    if (!finished_) {
      arrived_.push_back({fd, std::move(bytes), SteadyClock::now() + kRequestWait});
      const uint64_t one = 1;
      (void)!::write(wake_, &one, sizeof one);
      return;
    }
  }
  CloseConnection(fd);
}

// Connections that have not sent a whole request head wait here, all on one thread, so that
// idle, slow or silent clients hold no worker.
void SimHttpServer::RunWaitingRoom() {
  std::vector<Waiting> waiting;
  std::vector<pollfd> polled;
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (finished_) break;
      for (Waiting& c : arrived_) waiting.push_back(std::move(c));
      arrived_.clear();
    }
    polled.assign(1, pollfd{wake_, POLLIN, 0});
    for (const Waiting& c : waiting) polled.push_back({c.fd, POLLIN, 0});
    ::poll(polled.data(), polled.size(), kSliceMs);
    if (polled[0].revents != 0) {
      uint64_t count = 0;
      (void)!::read(wake_, &count, sizeof count);
    }
    const auto now = SteadyClock::now();
    std::vector<Waiting> still;
    for (std::size_t i = 0; i < waiting.size(); ++i) {
      Waiting& c = waiting[i];
      if (polled[i + 1].revents != 0) {
        char buf[16384];
        const ssize_t n = ::recv(c.fd, buf, sizeof buf, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
          CloseConnection(c.fd);
          continue;
        }
        if (n > 0) c.bytes.append(buf, static_cast<size_t>(n));
      }
      if (HasWholeHead(c.bytes)) {
        workers_->enqueue([this, c]() mutable { Serve(std::move(c)); });
      } else if (c.bytes.size() > kMaxHeadBytes || now >= c.deadline) {
        CloseConnection(c.fd);
      } else {
        still.push_back(std::move(c));
      }
    }
    waiting.swap(still);
  }
  for (const Waiting& c : waiting) CloseConnection(c.fd);
}

void SimHttpServer::Serve(Waiting c) {
  ConnectionStream stream(c.fd, stopping_, std::move(c.bytes));
  tDrop = false;
  bool closed = false;
  const bool ok = process_request(stream, false, closed, nullptr);
  const bool again = ok && !closed && !tDrop && !stopping_;
  tDrop = false;
  // A kept-alive connection waits for its next request without a worker.
  if (again) {
    AwaitRequest(c.fd, stream.Unread());
  } else {
    CloseConnection(c.fd);
  }
}

}  // namespace trotix::vendorsim
