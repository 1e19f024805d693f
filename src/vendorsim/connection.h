#pragma once
// The HTTP server underneath the demo vendor: cpp-httplib's request handling over our own
// connection handling, so that a handler can also drop a connection without any answer, a
// stopping server leaves idle and stalled connections at once, and a connection holds a worker
// only while it has a whole request to answer.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace trotix::vendorsim {

// Set by a handler on the worker thread that runs it: the connection is then closed without
// writing the answer.
void DropThisConnection();

class SimHttpServer : public httplib::Server {
 public:
  explicit SimHttpServer(const std::atomic<bool>& stopping);
  ~SimHttpServer() override;

  // Before listening: `workers` threads answer requests. After listening has ended: closes
  // every connection and returns when the threads are done.
  void Begin(int workers);
  void Finish();

 private:
  // A connection until its next request has arrived whole.
  struct Waiting {
    int fd = -1;
    std::string bytes;  // received, not yet read by the request parser
    std::chrono::steady_clock::time_point deadline;
  };

  bool process_and_close_socket(socket_t sock) override;
  void AwaitRequest(int fd, std::string bytes);
  void RunWaitingRoom();
  void Serve(Waiting c);

  const std::atomic<bool>& stopping_;
  std::unique_ptr<httplib::ThreadPool> workers_;
  std::thread waiter_;
  int wake_ = -1;
  std::mutex mutex_;
  std::vector<Waiting> arrived_;  // handed over, not yet seen by the waiter
  bool finished_ = true;
};

}  // namespace trotix::vendorsim
