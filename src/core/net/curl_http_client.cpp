#include "net/curl_http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <optional>

#include "net/owner_check.h"
#include "net/vendor_urls.h"
#include "text/strings.h"

namespace trotix {
namespace {

constexpr long kMaxRedirects = 20;
constexpr const char* kProbeAgent = "InetURL:/1.0";
constexpr const char* kStoppedError = "stopped";
constexpr int kLongestWaitMilliseconds = 1000;

void InitCurlOnce() {
  static const bool done = [] { return curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK; }();
  (void)done;
}

// One request of a batch; it stays at one address while curl writes into it.
struct Transfer {
  CURL* easy = nullptr;
  std::string body;
  std::size_t cap = 0;
  bool tooLarge = false;
  char error[CURL_ERROR_SIZE] = {};
};

size_t KeepBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  if (t->body.size() + n > t->cap) {
    t->tooLarge = true;
    return 0;  // makes curl abort the transfer
  }
  t->body.append(data, n);
  return n;
}

void SetTimeouts(CURL* e, const CurlHttpOptions& o) {
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(o.connectTimeout.count()));
  curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(o.requestTimeout.count()));
}

void SetCommon(CURL* e, const std::string& url) {
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  // No proxy, whatever the environment says.
  curl_easy_setopt(e, CURLOPT_PROXY, "");
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  // Only the cookie engine of this handle (or its share); no file is read.
  curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
}

// A wait on the sockets ends by the stop's deadline at the latest.
int WaitMilliseconds(const StopSignal* stop) {
  const auto at = stop != nullptr ? stop->deadline() : std::nullopt;
  if (!at) return kLongestWaitMilliseconds;
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(*at - StopSignal::Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, kLongestWaitMilliseconds));
}

// One transfer, driven as a batch is when there is a stop to heed; `rc` is its outcome. False
// when the stop ended it.
bool Perform(CURL* e, const StopSignal* stop, CURLcode& rc) {
  if (stop == nullptr) {
    rc = curl_easy_perform(e);
    return true;
  }
  if (stop->stopped()) return false;
  std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(),
                                                              &curl_multi_cleanup);
  CURLM* m = multi.get();
  if (m == nullptr || curl_multi_add_handle(m, e) != CURLM_OK) return false;
  bool done = false;
  {
    StopSignal::Waiter waiter(*stop, [m] { curl_multi_wakeup(m); });
    while (!done && !stop->stopped()) {
      int running = 0;
      if (curl_multi_perform(m, &running) != CURLM_OK) break;
      int queued = 0;
      while (CURLMsg* msg = curl_multi_info_read(m, &queued)) {
        if (msg->msg != CURLMSG_DONE) continue;
        done = true;
        rc = msg->data.result;
      }
      if (!done) curl_multi_poll(m, nullptr, 0, WaitMilliseconds(stop), nullptr);
    }
  }
  curl_multi_remove_handle(m, e);
  return done;
}

// The path of an absolute address: from the first "/" after the host to the query.
std::string_view UrlPath(std::string_view url) {
  const auto scheme = url.find("://");
  const auto start = url.find('/', scheme == std::string_view::npos ? 0 : scheme + 3);
  if (start == std::string_view::npos) return "/";
  return url.substr(start, url.find_first_of("?#", start) - start);
}

std::size_t CapOf(const CurlHttpOptions& o, std::string_view url) {
  const std::string_view path = UrlPath(url);
  for (const auto& c : o.pathCaps)
    if (path.starts_with(c.path)) return std::min(c.bytes, o.maxBodyBytes);
  return o.maxBodyBytes;
}

std::string CurlError(CURLcode rc, const char* buffer) {
  return buffer[0] != '\0' ? std::string(buffer) : std::string(curl_easy_strerror(rc));
}

HttpAnswer Finish(Transfer& t, CURLcode rc, bool followRedirects) {
  HttpAnswer a;
  long code = 0;
  curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &code);
  a.status = static_cast<int>(code);
  if (t.tooLarge || rc == CURLE_FILESIZE_EXCEEDED) {
    a.error = std::string(kAnswerTooLarge) + std::to_string(t.cap) + " bytes";
    std::string().swap(t.body);
    return a;
  }
  a.body = std::move(t.body);
  if (rc != CURLE_OK) {
    a.error = CurlError(rc, t.error);
  } else if (code < 200 || code > 299) {
    a.error = "HTTP status " + std::to_string(code);
    if (code >= 300 && code < 400 && !followRedirects) a.error += " (redirect not followed)";
  } else {
    a.failed = false;
  }
  return a;
}

}  // namespace

struct CurlHttpClient::Impl {
  CurlHttpOptions options;
  CURLSH* share = nullptr;
  CURLM* multi = nullptr;
  curl_slist* headers = nullptr;
  bool busy = false;  // a batch is running; a nested call from its callback gets its own multi
  OwnerCheck owner{"an HTTP client"};
  std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;

  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* user) {
    static_cast<Impl*>(user)->locks[data].lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* user) {
    static_cast<Impl*>(user)->locks[data].unlock();
  }

  explicit Impl(CurlHttpOptions o) : options(std::move(o)) {
    InitCurlOnce();
    share = curl_share_init();
    curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &Impl::Lock);
    curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &Impl::Unlock);
    curl_share_setopt(share, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    multi = curl_multi_init();
    headers = curl_slist_append(headers, ("Accept: " + options.accept).c_str());
    headers = curl_slist_append(headers, ("Content-Type: " + options.contentType).c_str());
  }

  ~Impl() {
    curl_multi_cleanup(multi);
    curl_share_cleanup(share);
    curl_slist_free_all(headers);
  }

  bool Start(Transfer& t, const std::string& url, std::size_t index, CURLM* m) {
    t.easy = curl_easy_init();
    if (t.easy == nullptr) return false;
    CURL* e = t.easy;
    SetCommon(e, url);
    SetTimeouts(e, options);
    curl_easy_setopt(e, CURLOPT_SHARE, share);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, options.followRedirects ? 1L : 0L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(e, CURLOPT_USERAGENT, options.userAgent.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers);
    t.cap = CapOf(options, url);
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(t.cap));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &KeepBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t.error);
    curl_easy_setopt(e, CURLOPT_PRIVATE, reinterpret_cast<void*>(index));
    if (curl_multi_add_handle(m, e) != CURLM_OK) {
      curl_easy_cleanup(e);
      t.easy = nullptr;
      return false;
    }
    return true;
  }

  std::vector<HttpAnswer> Run(const std::vector<std::string>& urls, int maxConnections,
                              const AnswerHandler& onAnswer, const StopSignal* stop,
                              const StartGate& mayStart, CURLM* m) {
    const std::size_t n = urls.size();
    const std::size_t cap = static_cast<std::size_t>(std::max(1, maxConnections));
    std::vector<HttpAnswer> answers(n);
    std::vector<Transfer> transfers(n);

    // Whatever happens (a throwing callback included), no handle outlives the batch.
    struct Cleanup {
      CURLM* m;
      std::vector<Transfer>& ts;
      ~Cleanup() {
        for (auto& t : ts) {
          if (t.easy == nullptr) continue;
          curl_multi_remove_handle(m, t.easy);
          curl_easy_cleanup(t.easy);
        }
      }
    } cleanup{m, transfers};
    // A Cancel from another thread ends the wait below at once.
    std::optional<StopSignal::Waiter> waiter;
    if (stop != nullptr) waiter.emplace(*stop, [m] { curl_multi_wakeup(m); });
    const auto halted = [stop] { return stop != nullptr && stop->stopped(); };

    std::size_t next = 0;
    std::size_t active = 0;
    std::vector<int> finished;
    // Starts requests while there is room; one that cannot start is answered at once.
    auto fill = [&] {
      while (next < n && active < cap &&
             (active == 0 || !mayStart || mayStart(static_cast<int>(next)))) {
        const std::size_t i = next++;
        if (Start(transfers[i], urls[i], i, m)) {
          ++active;
        } else {
          answers[i].error = "request could not be started";
          finished.push_back(static_cast<int>(i));
        }
      }
    };

    if (!halted()) fill();
    bool stopped = false;
    while (true) {
      for (int i : finished)
        if (onAnswer) onAnswer(i, answers[i]);
      finished.clear();
      stopped = halted();
      if (stopped || active == 0) break;

      int running = 0;
      if (curl_multi_perform(m, &running) != CURLM_OK) break;
      int queued = 0;
      while (CURLMsg* msg = curl_multi_info_read(m, &queued)) {
        if (msg->msg != CURLMSG_DONE) continue;
        void* priv = nullptr;
        curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &priv);
        const auto i = reinterpret_cast<std::size_t>(priv);
        Transfer& t = transfers[i];
        answers[i] = Finish(t, msg->data.result, options.followRedirects);
        curl_multi_remove_handle(m, t.easy);
        curl_easy_cleanup(t.easy);
        t.easy = nullptr;
        --active;
        finished.push_back(static_cast<int>(i));
      }
      const std::size_t started = next;
      fill();
      // The requests just added go out before the callbacks run, so the connections stay busy.
      if (next != started && !finished.empty()) curl_multi_perform(m, &running);
      if (finished.empty() && active > 0)
        curl_multi_poll(m, nullptr, 0, WaitMilliseconds(stop), nullptr);
    }
    // Only a stop or a broken multi handle leaves requests unanswered.
    for (std::size_t i = 0; i < n; ++i) {
      if (transfers[i].easy == nullptr && i < next) continue;
      answers[i] = HttpAnswer{};
      answers[i].error = stopped ? kStoppedError : "request interrupted";
      answers[i].stopped = stopped;
    }
    return answers;
  }
};

CurlHttpClient::CurlHttpClient(CurlHttpOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

CurlHttpClient::~CurlHttpClient() = default;

const CurlHttpOptions& CurlHttpClient::options() const {
  return impl_->options;
}

HttpAnswer CurlHttpClient::Get(const std::string& url, const StopSignal* stop) {
  return std::move(GetMany({url}, 1, nullptr, stop).front());
}

std::vector<HttpAnswer> CurlHttpClient::GetMany(const std::vector<std::string>& urls,
                                                int maxConnections, const AnswerHandler& onAnswer,
                                                const StopSignal* stop, const StartGate& mayStart) {
  const OwnerCheck::Scope owned(impl_->owner);
  if (!impl_->busy) {
    impl_->busy = true;
    struct Release {
      bool& b;
      ~Release() { b = false; }
    } release{impl_->busy};
    return impl_->Run(urls, maxConnections, onAnswer, stop, mayStart, impl_->multi);
  }
  CURLM* own = curl_multi_init();
  struct Drop {
    CURLM* m;
    ~Drop() { curl_multi_cleanup(m); }
  } drop{own};
  return impl_->Run(urls, maxConnections, onAnswer, stop, mayStart, own);
}

std::string ProbeAddress(const std::string& url) {
  return IsWebAddress(url) ? url : "http://" + url;
}

namespace {

struct ProbeHop {
  bool headersDone = false;
  std::string location;
};

// Headers are all the probe reads; a blank line ends them. An interim answer's headers are
// followed by the real answer's, which start afresh.
size_t NoteHeader(char* data, size_t size, size_t count, void* user) {
  auto* hop = static_cast<ProbeHop*>(user);
  const size_t n = size * count;
  const std::string_view line(data, n);
  if (line.starts_with("HTTP/")) {
    *hop = {};
  } else if (n <= 2 && (n == 0 || data[0] == '\r' || data[0] == '\n')) {
    hop->headersDone = true;
  } else if (n > 9 && Lower(line.substr(0, 9)) == "location:") {
    hop->location = Trim(line.substr(9));
  }
  return n;
}

// The body is never read, a redirect's included: stop at its first byte.
size_t SkipBody(char*, size_t, size_t, void*) {
  return 0;
}

// Where a redirect leads, resolved against the address that gave it as curl itself would; empty
// when it leads nowhere usable.
std::string RedirectTarget(const std::string& from, const std::string& location) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> u(curl_url(), &curl_url_cleanup);
  if (!u || curl_url_set(u.get(), CURLUPART_URL, from.c_str(), 0) != CURLUE_OK ||
      curl_url_set(u.get(), CURLUPART_URL, location.c_str(), CURLU_URLENCODE | CURLU_ALLOW_SPACE) !=
          CURLUE_OK)
    return {};
  char* full = nullptr;
  if (curl_url_get(u.get(), CURLUPART_URL, &full, 0) != CURLUE_OK) return {};
  std::string target = full;
  curl_free(full);
  return target;
}

}  // namespace

ProbeResult CurlHttpClient::ProbeExplained(const std::string& url, std::string& why,
                                           const StopSignal* stop) {
  const OwnerCheck::Scope owned(impl_->owner);
  why.clear();
  using Clock = std::chrono::steady_clock;
  const auto limit = impl_->options.requestTimeout;
  const auto deadline = Clock::now() + limit;
  std::string address = ProbeAddress(url);
  // Redirects are walked here rather than by curl so that a hop without an answer is told
  // from a final answer, and no hop's body is read.
  for (long hop = 0;; ++hop) {
    if (hop > kMaxRedirects) return ProbeResult::Absent;  // a loop: the file never comes
    ProbeHop seen;
    // A fresh handle per hop: a reset handle keeps the cookie settings of the last one, which
    // libcurl then never frees.
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(),
                                                               &curl_easy_cleanup);
    if (!handle) {
      why = "no connection could be set up";
      return ProbeResult::Unreachable;
    }
    CURL* e = handle.get();
    SetCommon(e, address);
    SetTimeouts(e, impl_->options);
    // The time-out bounds the whole walk, not each hop.
    if (limit.count() > 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) {
        why = "timed out";
        return ProbeResult::Unreachable;
      }
      curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
    }
    curl_easy_setopt(e, CURLOPT_USERAGENT, kProbeAgent);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &NoteHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &seen);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &SkipBody);
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, error);
    CURLcode rc = CURLE_OK;
    if (!Perform(e, stop, rc)) {
      why = stop->stopped() ? kStoppedError : "request interrupted";
      return ProbeResult::Unreachable;
    }
    if (!seen.headersDone) {
      why = CurlError(rc, error);
      return ProbeResult::Unreachable;
    }
    long code = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &code);
    if (code >= 300 && code < 400 && !seen.location.empty()) {
      if (std::string next = RedirectTarget(address, seen.location); !next.empty()) {
        address = std::move(next);
        continue;
      }
    }
    return code == 200 || code == 302 ? ProbeResult::Present : ProbeResult::Absent;
  }
}

std::unique_ptr<HttpClient> MakeRedirectingClient(CurlHttpOptions options) {
  options.followRedirects = true;
  return std::make_unique<CurlHttpClient>(std::move(options));
}

std::unique_ptr<HttpClient> MakeNonRedirectingClient(CurlHttpOptions options) {
  options.followRedirects = false;
  return std::make_unique<CurlHttpClient>(std::move(options));
}

}  // namespace trotix
