#pragma once
// The demo vendor server: the vendor's data server, the vendor's web site and the exchange's
// runner pages on one loopback HTTP server, answering from a generated race day.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/hosts.h"
#include "text/dates.h"
#include "vendorsim/content.h"
#include "vendorsim/faults.h"
#include "vendorsim/sim_day.h"

namespace trotix::vendorsim {

struct SimOptions {
  int port = 0;  // 0: any free port
  std::string bindAddress = "127.0.0.1";
  uint64_t seed = 1;
  Date date;  // the day served
  int races = 40;
  // Accounts that sign in besides demo / demo.
  std::vector<std::pair<std::string, std::string>> accounts;
  int latencyMinMs = 0, latencyMaxMs = 0;  // added to every answer
  std::vector<Fault> faults;
  int threads = 32;  // requests served at once
  // Runner pages padded to this many bytes with an HTML comment (0: as generated).
  std::size_t padRunnerPages = 0;
};

class VendorSim {
 public:
  explicit VendorSim(SimOptions options);
  ~VendorSim();  // stops
  VendorSim(const VendorSim&) = delete;
  VendorSim& operator=(const VendorSim&) = delete;

  // Binds, generates the day and serves on a thread pool. Throws std::runtime_error when the
  // port cannot be bound.
  void Start();
  // Closes every connection, stalled ones included, and returns when all threads are done.
  void Stop();

  int Port() const;
  std::string BaseUrl() const;  // "http://127.0.0.1:PORT"
  // All three remote parties are this server.
  Hosts SimHosts() const;

  // What one exact path answers from now on. The query is ignored unless `path` holds one, then
  // the whole request target must match.
  void Override(const std::string& path, std::string body, int status = 200);
  void ClearOverrides();
  // The markets move on: from now on "/bc/move.xml" gives every runner's last price a step
  // further from the first price shown, further with each call.
  void MoveMarkets();
  // Faults at run time; a pattern set again changes its mode. The first matching pattern wins.
  void SetFault(const std::string& pattern, FaultMode mode);
  void ClearFaults();

  // The generated day and every file, available once started.
  const SimContent& content() const;
  const Day& day() const { return content().day(); }
  // Requests so far whose path matches the glob.
  int Requests(const std::string& pathGlob) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace trotix::vendorsim
