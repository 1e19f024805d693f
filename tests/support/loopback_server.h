#pragma once
// A real HTTP server on 127.0.0.1, on a free port, running for the life of the object.
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace trotix::testing {

class LoopbackServer {
 public:
  LoopbackServer() {
    // Enough workers for the widest batch; idle keep-alive workers must not delay the stop.
    server_.new_task_queue = [] { return new httplib::ThreadPool(16); };
    server_.set_keep_alive_timeout(1);
    // Headers and body leave in two writes; without this a reused connection waits for the
    // peer's delayed acknowledgement.
    server_.set_tcp_nodelay(true);
  }
  ~LoopbackServer() {
    Release();
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // Register handlers first, then start.
  httplib::Server& server() { return server_; }

  void Start() {
    // Only SO_REUSEADDR: the library's default also shares the port with any other listener.
    int listening = -1;
    server_.set_socket_options([&listening](int sock) {
      int yes = 1;
      ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
      listening = sock;
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    // The library listens with a backlog of 5; a burst of parallel requests would then wait
    // for SYN retries (a second each). Listening again only widens the queue.
    if (listening >= 0) ::listen(listening, 512);
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // A stop that comes before the accept loop runs would be missed and the join would hang.
    while (!server_.is_running()) std::this_thread::yield();
  }

  int port() const { return port_; }
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(const std::string& path) const { return "http://" + Address() + path; }

  // Lets a handler stall until the test ends (or at most `limit`).
  void Stall(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    released_cv_.wait_for(lock, limit, [this] { return released_; });
  }
  void Release() {
    {
      std::lock_guard lock(mutex_);
      released_ = true;
    }
    released_cv_.notify_all();
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::condition_variable released_cv_;
  bool released_ = false;
};

// A loopback port nothing listens on: bound once to find it, then closed.
inline int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

}  // namespace trotix::testing
