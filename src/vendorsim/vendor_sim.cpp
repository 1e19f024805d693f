#include "vendorsim/vendor_sim.h"

#include <sys/socket.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <stdexcept>
#include <thread>

#include "vendorsim/connection.h"
#include "vendorsim/formats.h"
#include "vendorsim/generator.h"
#include "vendorsim/rng.h"

namespace trotix::vendorsim {
namespace {

// Above the 32 MiB a client should accept.
constexpr size_t kOversizeBytes = 33u * 1024 * 1024;

std::string ContentTypeOf(const std::string& path) {
  const std::string p = path.substr(0, path.find('?'));
  if (p.ends_with(".xml")) return "text/xml";
  if (p.ends_with(".txt")) return "text/plain";
  return "text/html";
}

struct OverrideAnswer {
  std::string body;
  int status = 200;
};

}  // namespace

struct VendorSim::Impl {
  explicit Impl(SimOptions o) : options(std::move(o)), server(stopping) {}

  SimOptions options;
  std::atomic<bool> stopping{false};
  SimHttpServer server;
  std::thread listener;
  bool running = false;
  int port = -1;
  int listening = -1;  // the listening socket, while binding
  std::unique_ptr<SimContent> content;

  mutable std::shared_mutex rules;  // overrides and faults
  std::map<std::string, OverrideAnswer> overrides;
  std::vector<Fault> faults;

  mutable std::mutex counting;
  std::map<std::string, int> counts;  // requests by path
  std::atomic<uint64_t> sequence{0};
  std::atomic<int> marketMoves{0};

  // Waits that end early when the server stops.
  std::mutex waitMutex;
  std::condition_variable waitCv;

  void Sleep(int ms) {
    std::unique_lock lock(waitMutex);
    waitCv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return stopping.load(); });
  }
  void WaitForStop() {
    std::unique_lock lock(waitMutex);
    waitCv.wait(lock, [&] { return stopping.load(); });
  }

  std::optional<FaultMode> FaultFor(const httplib::Request& req) const {
    std::shared_lock lock(rules);
    for (const Fault& f : faults)
      if (GlobMatch(f.pattern, req.path) || GlobMatch(f.pattern, req.target)) return f.mode;
    return std::nullopt;
  }

  Answer AnswerFor(const httplib::Request& req) const {
    {
      std::shared_lock lock(rules);
      auto it = overrides.find(req.target);
      if (it == overrides.end()) it = overrides.find(req.path);
      if (it != overrides.end())
        return {it->second.status, ContentTypeOf(it->first), it->second.body};
    }
    return content->Get(req.path, req.params);
  }

  void Handle(const httplib::Request& req, httplib::Response& res) {
    {
      std::lock_guard lock(counting);
      ++counts[req.path];
    }
    const uint64_t n = sequence.fetch_add(1);
    if (options.latencyMaxMs > 0) {
      Rng rng = Rng::For(options.seed, n, HashText("latency"));
      Sleep(rng.Int(options.latencyMinMs, options.latencyMaxMs));
    }
    const auto fault = FaultFor(req);
    if (fault == FaultMode::kStall) {
      WaitForStop();
      DropThisConnection();
      return;
    }
    if (fault == FaultMode::kDrop || stopping) {
      DropThisConnection();
      return;
    }
    if (fault == FaultMode::kStatus500) {
      res.status = 500;
      res.set_content("Internal Server Error", "text/plain");
      return;
    }
    if (fault == FaultMode::kGarbage) {
      Rng rng = Rng::For(options.seed, HashText(req.target), n);
      std::string bytes(static_cast<size_t>(rng.Int(512, 65536)), '\0');
      for (char& c : bytes) c = static_cast<char>(rng.Next() & 0xFF);
      res.set_content(bytes, "application/octet-stream");
      return;
    }
    if (fault == FaultMode::kOversize) {
      res.set_content_provider(kOversizeBytes, "text/plain",
                               [](size_t, size_t length, httplib::DataSink& sink) {
                                 static const std::string kChunk(65536, 'x');
                                 return sink.write(kChunk.data(), std::min(length, kChunk.size()));
                               });
      return;
    }
    Answer a = AnswerFor(req);
    res.status = a.status;
    if (fault == FaultMode::kTruncate) {
      if (a.body.size() < 2) a.body = "This answer is cut off half way.\r\n";
      auto body = std::make_shared<std::string>(std::move(a.body));
      res.set_content_provider(body->size(), a.contentType,
                               [body](size_t, size_t, httplib::DataSink& sink) {
                                 sink.write(body->data(), body->size() / 2);
                                 return false;  // the rest never comes
                               });
      return;
    }
    res.set_content(std::move(a.body), a.contentType);
  }
};

VendorSim::VendorSim(SimOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {
  Impl& s = *impl_;
  s.faults = s.options.faults;
  s.server.Get(".*",
               [&s](const httplib::Request& req, httplib::Response& res) { s.Handle(req, res); });
}

VendorSim::~VendorSim() {
  Stop();
}

void VendorSim::Start() {
  Impl& s = *impl_;
  if (s.running) return;
  s.stopping = false;
  s.server.set_tcp_nodelay(true);
  // Only SO_REUSEADDR: the library's default also shares the port with any other listener.
  s.listening = -1;
  s.server.set_socket_options([&s](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    s.listening = sock;
  });
  if (s.options.port == 0) {
    s.port = s.server.bind_to_any_port(s.options.bindAddress);
  } else {
    s.port = s.server.bind_to_port(s.options.bindAddress, s.options.port) ? s.options.port : -1;
  }
  if (s.port <= 0)
    throw std::runtime_error("cannot listen on " + s.options.bindAddress + ":" +
                             std::to_string(s.options.port));
  // The library listens with a backlog of 5; a burst of parallel clients would then wait for
  // SYN retries. Listening again only widens the queue.
  if (s.listening >= 0) ::listen(s.listening, 512);
  ContentOptions c;
  c.seed = s.options.seed;
  c.date = s.options.date;
  c.races = s.options.races;
  c.accounts = s.options.accounts;
  c.linkBase = BaseUrl();
  c.padRunnerPages = s.options.padRunnerPages;
  s.content = std::make_unique<SimContent>(std::move(c));
  s.server.Begin(std::max(2, s.options.threads));
  s.listener = std::thread([&s] { s.server.listen_after_bind(); });
  while (!s.server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  s.running = true;
}

void VendorSim::Stop() {
  Impl& s = *impl_;
  if (!s.running) return;
  {
    std::lock_guard lock(s.waitMutex);
    s.stopping = true;
  }
  s.waitCv.notify_all();
  s.server.stop();
  s.listener.join();
  s.server.Finish();
  s.running = false;
}

int VendorSim::Port() const {
  return impl_->port;
}

std::string VendorSim::BaseUrl() const {
  const std::string& a = impl_->options.bindAddress;
  const std::string host = a == "0.0.0.0" ? "127.0.0.1" : a;
  return "http://" + host + ":" + std::to_string(impl_->port);
}

Hosts VendorSim::SimHosts() const {
  const std::string base = BaseUrl();
  return Hosts{base, base, base, base, base};
}

void VendorSim::Override(const std::string& path, std::string body, int status) {
  std::unique_lock lock(impl_->rules);
  impl_->overrides[path] = {std::move(body), status};
}

void VendorSim::MoveMarkets() {
  const double drift = 1 + 0.1 * ++impl_->marketMoves;
  Day moved = day();
  for (Move& m : moved.moves) {
    double last = 0, first = 0;
    std::from_chars(m.kf1.data(), m.kf1.data() + m.kf1.size(), last);
    std::from_chars(m.kf2.data(), m.kf2.data() + m.kf2.size(), first);
    if (last <= 0 || first <= 0) continue;
    last = SnapPrice(last * drift);
    m.kf1 = PriceText(last);
    m.precent = std::to_string(std::llround((last - first) / first * 100));
  }
  Override("/bc/move.xml", MovesText(moved));
}

void VendorSim::ClearOverrides() {
  std::unique_lock lock(impl_->rules);
  impl_->overrides.clear();
}

void VendorSim::SetFault(const std::string& pattern, FaultMode mode) {
  std::unique_lock lock(impl_->rules);
  for (Fault& f : impl_->faults) {
    if (f.pattern == pattern) {
      f.mode = mode;
      return;
    }
  }
  impl_->faults.push_back({pattern, mode});
}

void VendorSim::ClearFaults() {
  std::unique_lock lock(impl_->rules);
  impl_->faults.clear();
}

const SimContent& VendorSim::content() const {
  if (!impl_->content) throw std::logic_error("the demo vendor server has not been started");
  return *impl_->content;
}

int VendorSim::Requests(const std::string& pathGlob) const {
  std::lock_guard lock(impl_->counting);
  int n = 0;
  for (const auto& [path, count] : impl_->counts)
    if (GlobMatch(pathGlob, path)) n += count;
  return n;
}

}  // namespace trotix::vendorsim
