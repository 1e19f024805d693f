#pragma once
// The HTTP server underneath the demo vendor: cpp-httplib's request handling over our own
// connection loop, so that a handler can also drop a connection without any answer and a
// stopping server leaves idle and stalled connections at once.
#include <httplib.h>

#include <atomic>

namespace trotix::vendorsim {

// Set by a handler on the worker thread that runs it: the connection is then closed without
// writing the answer.
void DropThisConnection();

class SimHttpServer : public httplib::Server {
 public:
  explicit SimHttpServer(const std::atomic<bool>& stopping) : stopping_(stopping) {}

 private:
  bool process_and_close_socket(socket_t sock) override;

  const std::atomic<bool>& stopping_;
};

}  // namespace trotix::vendorsim
