// trotix-bench: every speed and memory target in one run. Each scenario that waits on the network
// runs one request after another (--max-connections 1) and with the default cap of 8, against the
// demo server started in-process with the chosen latency and day size; medians of the rounds.
//   trotix-bench [--latency-ms 40] [--races 40] [--cpu-races 100] [--memory-races 100] [--rounds 3]
//                [--history-days 30] [--proof-picks 10000]
#include <CLI/CLI.hpp>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "analysis/analyse_race.h"
#include "analysis/zorvat/score_race.h"
#include "app/proof_figures.h"
#include "app/recording_ports.h"
#include "app/session.h"
#include "archive/archive_http_client.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "bench_archive_scale.h"
#include "bench_archived_day.h"
#include "bench_ledger.h"
#include "bench_luck.h"
#include "bench_settle.h"
#include "bench_systems.h"
#include "bench_util.h"
#include "bench_window_gap.h"
#include "demo_race.h"
#include "feeds/race_day.h"
#include "model/columns.h"
#include "net/curl_http_client.h"
#include "net/vendor_urls.h"
#include "paired_share.h"
#include "text/dates.h"
#include "text/strings.h"
#include "vendorsim/demo_history.h"
#include "vendorsim/vendor_sim.h"

namespace trotix::bench {
namespace {

constexpr Date kDay{2026, 12, 8};
constexpr int kDefaultCap = 8;
constexpr int kCaps[] = {1, kDefaultCap};

struct Options {
  int latencyMs = 40;
  int races = 40;
  int cpuRaces = 100;
  int memoryRaces = 100;
  int rounds = 3;
  int runners = 16;
  int historyDays = 30;
  int scaleDays = 365;
  int proofPicks = 10000;
  std::string cli, window;
  std::vector<std::string> only;  // scenarios to run; empty: all
  long long ledgerEvents = 100'000;
};

// What the window does after each race of a best-of run: a copy of what its views show. It also
// notes when the first race and the first report row were shown, and lets a hook see each race.
class SnapshotProgress : public SilentProgress {
 public:
  StopSignal* stopSignal() override { return &stop; }
  bool StepDone(const Workspace& ws, const RaceStep& step) override {
    const double start = ThreadCpuSeconds();
    { const auto copy = std::make_unique<WorkspaceView>(ws.view()); }
    seconds += ThreadCpuSeconds() - start;
    shownAt.push_back(WallSeconds());
    if (firstRow == 0 && ws.REP.RowCount() > 0) firstRow = shownAt.back();
    if (onStep) onStep(step);
    return true;
  }
  void Reset() {
    seconds = firstRow = 0;
    shownAt.clear();
    stop.Reset();
  }
  double seconds = 0;
  std::vector<double> shownAt;  // wall clock when each race was shown
  double firstRow = 0;          // when the first report row was; 0 until then
  std::function<void(const RaceStep&)> onStep;
  StopSignal stop;
};

// A signed-out Session against the demo server, with the ports trotix-cli uses; recording into
// `store` when one is given.
struct Client {
  Client(const vendorsim::VendorSim& sim, int maxConnections, std::filesystem::path dir,
         SqliteArchive* store = nullptr)
      : web(MakeRedirectingClient()), zorvat(MakeNonRedirectingClient()), clock(kDay) {
    HttpClient* w = web.get();
    HttpClient* z = zorvat.get();
    if (store) {
      archive = std::make_unique<SessionArchive>(*store);
      recordedWeb = std::make_unique<RecordingHttpClient>(*web, *archive, sim.SimHosts());
      recordedZorvat = std::make_unique<RecordingHttpClient>(*zorvat, *archive, sim.SimHosts());
      w = recordedWeb.get();
      z = recordedZorvat.get();
    }
    session = std::make_unique<Session>(
        SessionOptions{sim.SimHosts(), std::move(dir), maxConnections},
        SessionPorts{*w, *z, browser, messages, progress, clock, archive.get()});
  }
  bool SignIn() {
    session->Start();
    return session->SignIn({"demo", "demo"}) == SignInResult::SignedIn;
  }
  Workspace& ws() { return session->ws(); }

  std::unique_ptr<HttpClient> web, zorvat;
  std::unique_ptr<SessionArchive> archive;
  std::unique_ptr<HttpClient> recordedWeb, recordedZorvat;
  RecordingBrowser browser;
  RecordingMessages messages;
  SnapshotProgress progress;
  FixedClock clock;
  std::unique_ptr<Session> session;
};

std::unique_ptr<vendorsim::VendorSim> StartSim(int races, int latencyMs, uint64_t seed = 1) {
  vendorsim::SimOptions o;
  o.seed = seed;
  o.date = kDay;
  o.races = races;
  o.latencyMinMs = o.latencyMaxMs = latencyMs;
  auto sim = std::make_unique<vendorsim::VendorSim>(o);
  sim->Start();
  return sim;
}

bool SameTables(const Workspace& a, const Workspace& b) {
  for (std::size_t i = 0; i < a.Tables().size(); ++i)
    if (!(*a.Tables()[i].second == *b.Tables()[i].second)) return false;
  return a.Labels() == b.Labels();
}

int missed = 0;

const char* Verdict(bool met) {
  if (!met) ++missed;
  return met ? "met" : "NOT MET";
}

void Header(const std::string& title) {
  std::printf("\n%s\n", title.c_str());
}

void PrintRatio(const char* what, double one, double eight, double atLeast) {
  const double ratio = one / eight;
  std::printf("  %-34s %10.3f s %12.3f s %8.2fx   target >= %.1fx: %s\n", what, one, eight, ratio,
              atLeast, Verdict(ratio >= atLeast));
}

struct SignInTimes {
  double wall = 0;  // median
  int requests = 0;
  std::unique_ptr<Client> last;
};

SignInTimes TimeSignIn(const vendorsim::VendorSim& sim, int cap, int rounds,
                       const std::filesystem::path& dir) {
  SignInTimes t;
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    auto client = std::make_unique<Client>(sim, cap, dir);
    const int before = sim.Requests("*");
    const double start = WallSeconds();
    if (!client->SignIn()) std::printf("  sign-in failed\n");
    times.push_back(WallSeconds() - start);
    t.requests = sim.Requests("*") - before;
    t.last = std::move(client);
  }
  t.wall = Median(times);
  return t;
}

// One request's wall time against `sim`: the server's delay as the client sees it.
double RoundTrip(const vendorsim::VendorSim& sim, int rounds) {
  CurlHttpClient client;
  const std::string url = VendorUrls(sim.SimHosts()).VersionProbe();
  std::vector<double> times;
  for (int i = 0; i < rounds + 2; ++i) {
    const double start = WallSeconds();
    client.Get(url);
    times.push_back(WallSeconds() - start);
  }
  return Median(times);
}

void SignInToReady(const Options& o, const std::filesystem::path& dir) {
  Header("Sign-in to ready: start-up, version probe, course table, sign-in, every load (" +
         std::to_string(o.races) + " races, " + std::to_string(o.latencyMs) + " ms per answer)");
  auto sim = StartSim(o.races, o.latencyMs);
  auto instant = StartSim(o.races, 0);
  const double trip = RoundTrip(*sim, o.rounds);
  SignInTimes slow[2], fast[2];
  for (int c = 0; c < 2; ++c) {
    slow[c] = TimeSignIn(*sim, kCaps[c], o.rounds, dir);
    fast[c] = TimeSignIn(*instant, kCaps[c], o.rounds, dir);
  }
  std::printf("  %-34s %12s %14s %9s\n", "", "1 connection", "default (8)", "ratio");
  PrintRatio("wall time", slow[0].wall, slow[1].wall, 2.5);
  std::printf("  %-34s %10.3f s %12.3f s\n", "wall time without latency", fast[0].wall,
              fast[1].wall);
  std::printf("  %-34s %12d %14d\n", "requests", slow[0].requests, slow[1].requests);
  // The time the latency adds, in round trips of one request.
  const auto trips = [&](int c) { return std::lround((slow[c].wall - fast[c].wall) / trip); };
  std::printf("  %-34s %12ld %14ld %9s   target <= 4: %s\n", "round trips on the critical path",
              trips(0), trips(1), "", Verdict(trips(1) <= 4));
  std::printf("  %-34s %10.3f s\n", "  (one request's round trip)", trip);
  const Client& a = *slow[0].last;
  const Client& b = *slow[1].last;
  std::printf("  %-34s %12s\n", "same tables, labels, messages",
              SameTables(a.session->ws(), b.session->ws()) && a.messages.shown == b.messages.shown
                  ? "yes"
                  : "NO");
}

void LiveAnalysis(const Options& o, const std::filesystem::path& dir) {
  const DemoRace race = FindDemoRace(kDay, o.races, o.runners);
  Header("Live analysis (all ROW) of a " + std::to_string(o.runners) +
         "-runner race: card, runner pages, score, merge (" + std::to_string(o.latencyMs) +
         " ms per answer)");
  if (race.seed == 0) {
    std::printf("  no demo day has such a race\n");
    ++missed;
    return;
  }
  auto sim = StartSim(o.races, o.latencyMs, race.seed);
  double median[2] = {};
  int pages = 0;
  std::unique_ptr<Client> last[2];
  for (int c = 0; c < 2; ++c) {
    auto client = std::make_unique<Client>(*sim, kCaps[c], dir);
    client->SignIn();
    std::vector<double> times;
    for (int round = 0; round < o.rounds; ++round) {
      const int before = sim->Requests("/betting/*");
      const double start = WallSeconds();
      client->session->AnalyseLive(race.index);
      times.push_back(WallSeconds() - start);
      pages = sim->Requests("/betting/*") - before;
    }
    median[c] = Median(times);
    last[c] = std::move(client);
  }
  std::printf("  race %s %s, %d runner pages; the floor is %d round trips at 8 connections\n",
              race.time.c_str(), race.course.c_str(), pages, (pages + 7) / 8);
  PrintRatio("wall time", median[0], median[1], 6);
  std::printf("  %-34s %12s\n", "same tables",
              SameTables(last[0]->ws(), last[1]->ws()) ? "yes" : "NO");
}

// Cancel from another thread while the run waits on the server, `afterRaces` races in; the time
// from Cancel to the end of the command.
double CancelLatency(Client& client, int afterRaces, double delay) {
  std::mutex mutex;
  std::condition_variable shown;
  int races = 0;
  client.ws().REP.ClearRows();
  client.progress.Reset();
  client.progress.onStep = [&](const RaceStep&) {
    std::lock_guard lock(mutex);
    ++races;
    shown.notify_all();
  };
  double cancelled = 0;
  std::thread user([&] {
    std::unique_lock lock(mutex);
    shown.wait(lock, [&] { return races >= afterRaces; });
    lock.unlock();
    std::this_thread::sleep_for(std::chrono::duration<double>(delay));
    cancelled = WallSeconds();
    client.progress.stop.Cancel();
  });
  client.session->RunBestRank(true);
  const double ended = WallSeconds();
  user.join();
  client.progress.onStep = nullptr;
  return ended - cancelled;
}

void BestRankFromRealOdds(const Options& o, const std::filesystem::path& dir) {
  Header("\"Best Rank\" from real odds over a " + std::to_string(o.races) + "-race day (" +
         std::to_string(o.latencyMs) + " ms per answer)");
  auto sim = StartSim(o.races, o.latencyMs);
  const double trip = RoundTrip(*sim, o.rounds);
  std::unique_ptr<Client> last[2];
  // The first race that needs runner pages: the ones before it show at once.
  int exchangeRace = -1, exchangePages = 0;
  double median[2] = {}, firstRace[2] = {}, firstExchange[2] = {}, firstRow[2] = {};
  int pages = 0;
  for (int c = 0; c < 2; ++c) {
    auto client = std::make_unique<Client>(*sim, kCaps[c], dir);
    client->SignIn();
    for (int k = 0; exchangeRace < 0 && k < client->ws().MM.RowCount(); ++k) {
      exchangePages =
          static_cast<int>(RealOddsPages(client->ws(), k, client->session->urls()).size());
      if (exchangePages > 0) exchangeRace = k;
    }
    std::vector<double> times, races, exchange, rows;
    for (int round = 0; round < o.rounds; ++round) {
      client->ws().REP.ClearRows();
      client->progress.Reset();
      const int before = sim->Requests("/betting/*");
      const double start = WallSeconds();
      client->session->RunBestRank(true);
      times.push_back(WallSeconds() - start);
      const auto& shown = client->progress.shownAt;
      const auto at = [&](int k) {
        return k >= 0 && k < static_cast<int>(shown.size()) ? shown[k] - start : 0;
      };
      races.push_back(at(0));
      exchange.push_back(at(exchangeRace));
      rows.push_back(client->progress.firstRow - start);
      pages = sim->Requests("/betting/*") - before;
    }
    median[c] = Median(times);
    firstRace[c] = Median(races);
    firstExchange[c] = Median(exchange);
    firstRow[c] = Median(rows);
    last[c] = std::move(client);
  }
  const Workspace& ws = last[1]->ws();
  const int exchangeFloor = (exchangePages + 7) / 8;
  std::printf("  %d runner pages, %d picks; the floor is %d round trips at 8 connections\n", pages,
              ws.REP.RowCount(), (pages + 7) / 8);
  if (exchangeRace >= 0)
    std::printf("  the first race with runner pages is race %d (%s %s): %d pages, %d round trips\n",
                exchangeRace + 1, ws.MM.Text(exchangeRace, mm::kTime).c_str(),
                ws.MM.Text(exchangeRace, mm::kCourse).c_str(), exchangePages, exchangeFloor);
  std::printf("  %-34s %12s %14s %9s\n", "", "1 connection", "default (8)", "ratio");
  PrintRatio("wall time", median[0], median[1], 7);
  // In round trips of one request, from the click.
  const auto trips = [&](double seconds) { return seconds / trip; };
  std::printf("  %-34s %10.3f s %12.3f s %9.1f    round trips, target <= 4: %s\n",
              "first race on screen", firstRace[0], firstRace[1], trips(firstRace[1]),
              Verdict(trips(firstRace[1]) <= 4));
  std::printf("  %-34s %10.3f s %12.3f s %9.1f    round trips, target <= %d: %s\n",
              "first race with runner pages", firstExchange[0], firstExchange[1],
              trips(firstExchange[1]), exchangeFloor + 1,
              Verdict(trips(firstExchange[1]) <= exchangeFloor + 1));
  std::printf("  %-34s %10.3f s %12.3f s %9.1f    round trips\n", "first report row", firstRow[0],
              firstRow[1], trips(firstRow[1]));
  std::printf("  %-34s %12s\n", "same REP and tables",
              SameTables(last[0]->ws(), last[1]->ws()) ? "yes" : "NO");
  std::printf("  %-34s %10.3f s\n", "  (one request's round trip)", trip);

  // Cancel lands at various points of a round trip, a few races in.
  double latency[2] = {}, worst[2] = {};
  for (int c = 0; c < 2; ++c) {
    std::vector<double> times;
    for (int round = 0; round < std::max(o.rounds, 5); ++round)
      times.push_back(CancelLatency(*last[c], 3, trip * round / std::max(o.rounds, 5)));
    latency[c] = Median(times);
    worst[c] = *std::max_element(times.begin(), times.end());
  }
  const double bound = trip + 0.050;
  std::printf("  %-34s %9.1f ms %11.1f ms %9s   target < %.0f ms: %s\n",
              "Cancel to the end of the command", latency[0] * 1e3, latency[1] * 1e3, "",
              bound * 1e3, Verdict(worst[0] < bound && worst[1] < bound));
  std::printf("  %-34s %9.1f ms %11.1f ms\n", "  (the slowest of the rounds)", worst[0] * 1e3,
              worst[1] * 1e3);
}

void BestRankCpu(const Options& o, const std::filesystem::path& dir) {
  Header("\"Best Rank\" without real odds over a " + std::to_string(o.cpuRaces) +
         "-race day (no latency): CPU of the calling thread per race");
  auto sim = StartSim(o.cpuRaces, 0);
  std::printf("  %-34s %12s %14s\n", "", "1 connection", "default (8)");
  double analysis[2] = {}, snapshot[2] = {};
  for (int c = 0; c < 2; ++c) {
    Client client(*sim, kCaps[c], dir);
    client.SignIn();
    std::vector<double> perRace, perSnapshot;
    for (int round = 0; round < o.rounds; ++round) {
      client.ws().REP.ClearRows();
      client.progress.seconds = 0;
      const double start = ThreadCpuSeconds();
      client.session->RunBestRank(/*fromRealOdds=*/false);
      const double total = ThreadCpuSeconds() - start;
      perRace.push_back((total - client.progress.seconds) / o.cpuRaces);
      perSnapshot.push_back(client.progress.seconds / o.cpuRaces);
    }
    analysis[c] = Median(perRace);
    snapshot[c] = Median(perSnapshot);
  }
  std::printf("  %-34s %9.3f ms %11.3f ms   target < 1 ms: %s\n", "analysis per race",
              analysis[0] * 1e3, analysis[1] * 1e3, Verdict(analysis[1] < 1e-3));
  std::printf("  %-34s %9.3f ms %11.3f ms   target < analysis: %s\n", "window's snapshot",
              snapshot[0] * 1e3, snapshot[1] * 1e3, Verdict(snapshot[1] < analysis[1]));
}

// Wall time moves by more between runs on a shared machine than recording adds, so the verdict
// rests on the CPU recording adds to the command's thread, against the wall time without it.
void PrintOverhead(const std::string& what, const PairedShare& s) {
  std::printf(
      "  %-34s %10.3f s %12.3f s %+8.1f %%   (quartiles of %d pairs %+.1f %% to %+.1f %%)\n",
      (what + ", wall").c_str(), s.wallWithout, s.wallWith, s.wallAdded, s.rounds, s.wallLow,
      s.wallHigh);
  std::printf("  %-34s %9.1f ms %11.1f ms %+8.1f %%   target < 10 %%: %s\n",
              "  CPU of the command's thread", s.cpuWithout * 1e3, s.cpuWith * 1e3, s.cpuShare,
              Verdict(s.cpuShare < 10));
}

std::uintmax_t FileBytes(const std::filesystem::path& file) {
  std::error_code ec;
  std::uintmax_t bytes = 0;
  for (const char* suffix : {"", "-wal"}) {
    const auto size = std::filesystem::file_size(file.string() + suffix, ec);
    if (!ec) bytes += size;
  }
  return bytes;
}

// Recording's share of sign-in-to-ready and of the live analysis (each round into a fresh
// archive, rounds with and without recording taken in turn), and the size of a recorded day.
void Archive(const Options& o, const std::filesystem::path& dir) {
  Header("The day archive: recording at " + std::to_string(o.latencyMs) +
         " ms per answer, default cap of 8 (" + std::to_string(o.races) + " races)");
  std::printf("  %-34s %12s %14s %9s\n", "", "no archive", "recording", "added");
  // Pairs in turn, so a burst of another program's load falls on both sides alike.
  const int rounds = std::max(o.rounds, 15);
  int archiveNo = 0;
  const auto freshStore = [&] {
    const auto folder = dir / ("archive-" + std::to_string(++archiveNo));
    std::filesystem::create_directories(folder);
    return std::make_unique<SqliteArchive>(folder / kArchiveFileName);
  };
  {
    auto sim = StartSim(o.races, o.latencyMs);
    const PairedShare share = MeasurePairedShare(rounds, [&](bool recording, auto&& timed) {
      auto store = recording ? freshStore() : nullptr;
      Client client(*sim, kDefaultCap, dir, store.get());
      timed([&] {
        if (!client.SignIn()) std::printf("  sign-in failed\n");
      });
    });
    PrintOverhead("sign-in to ready", share);
  }
  const DemoRace race = FindDemoRace(kDay, o.races, o.runners);
  if (race.seed != 0) {
    auto sim = StartSim(o.races, o.latencyMs, race.seed);
    auto store = freshStore();
    std::unique_ptr<Client> clients[2] = {
        std::make_unique<Client>(*sim, kDefaultCap, dir),
        std::make_unique<Client>(*sim, kDefaultCap, dir, store.get())};
    for (auto& c : clients) c->SignIn();
    const PairedShare share = MeasurePairedShare(rounds, [&](bool recording, auto&& timed) {
      timed([&] { clients[recording ? 1 : 0]->session->AnalyseLive(race.index); });
    });
    PrintOverhead("live analysis, " + std::to_string(o.runners) + " runners", share);
  }
  {
    auto sim = StartSim(o.races, 0);
    auto store = freshStore();
    const auto file = store->file();
    int pages = 0;
    {
      Client client(*sim, kDefaultCap, dir, store.get());
      client.SignIn();
      const int before = sim->Requests("/betting/*");
      for (int k = 0; k < client.ws().MM.RowCount(); ++k) client.session->AnalyseLive(k);
      pages = sim->Requests("/betting/*") - before;
    }
    store.reset();  // closing folds the write-ahead log into the file
    const double mib = static_cast<double>(FileBytes(file)) / (1024 * 1024);
    std::printf("  %-34s %10.2f MiB   target < 3 MiB: %s\n", "one day, every race analysed", mib,
                Verdict(mib < 3));
    std::printf("  %-34s %12d\n", "  (runner pages in it)", pages);
  }
}

void History(const Options& o, const std::filesystem::path& dir) {
  Header("Demo history: " + std::to_string(o.historyDays) +
         " past days built and settled (40 races each, no latency)");
  const auto folder = dir / "history";
  std::filesystem::create_directories(folder);
  const auto file = folder / kDemoArchiveFileName;
  vendorsim::DemoHistoryOptions options;
  options.today = kDay;
  options.days = o.historyDays;
  int picks = 0, errors = 0;
  double seconds = 0;
  {
    SqliteArchive store(file);
    const double start = WallSeconds();
    for (const auto& day : vendorsim::BuildDemoHistory(store, options)) {
      picks += day.picks;
      errors += day.error.empty() ? 0 : 1;
    }
    seconds = WallSeconds() - start;
  }
  std::printf("  %-34s %10.2f s   target < 20 s: %s%s\n", "wall time", seconds,
              Verdict(seconds < 20 && errors == 0), errors ? "  (days failed)" : "");
  std::printf("  %-34s %10.2f s\n", "  per day", seconds / o.historyDays);
  std::printf("  %-34s %12d\n", "picks settled", picks);
  std::printf("  %-34s %10.1f MiB\n", "archive size",
              static_cast<double>(FileBytes(file)) / (1024 * 1024));
}

// The demo history of the "history" scenario, built here when that one did not run.
std::filesystem::path HistoryArchive(const Options& o, const std::filesystem::path& dir) {
  const auto file = dir / "history" / kDemoArchiveFileName;
  if (std::filesystem::exists(file)) return file;
  std::filesystem::create_directories(file.parent_path());
  vendorsim::DemoHistoryOptions options;
  options.today = kDay;
  options.days = o.historyDays;
  SqliteArchive store(file);
  vendorsim::BuildDemoHistory(store, options);
  return file;
}

// A Session that reaches nothing but the archive, as `trotix-cli backtest` runs it.
struct OfflineClient {
  explicit OfflineClient(SqliteArchive& store, const std::filesystem::path& dir)
      : offline(std::vector<RecordedAnswer>{}, Hosts{}),
        archive(store),
        clock(kDay),
        session(SessionOptions{Hosts{}, dir, kDefaultCap},
                SessionPorts{offline, offline, browser, messages, progress, clock, &archive}) {}
  ArchiveHttpClient offline;
  SessionArchive archive;
  RecordingBrowser browser;
  RecordingMessages messages;
  SilentProgress progress;
  FixedClock clock;
  Session session;
};

using PickKey = std::tuple<int, int, int, std::string, std::string, std::string, std::string>;

std::set<PickKey> KeysOf(const std::vector<Pick>& picks, PickSource source, long long run) {
  std::set<PickKey> keys;
  for (const Pick& p : picks)
    if (p.source == source && p.runId == run)
      keys.insert({p.day.year, p.day.month, p.day.day, p.time, p.course, p.runner, p.system});
  return keys;
}

// Every day of the demo history replayed, picked and settled from the archive alone.
void Backtest(const Options& o, const std::filesystem::path& dir) {
  Header("Back-test of the " + std::to_string(o.historyDays) +
         "-day demo history from the archive (40 races a day, no network)");
  const auto file = HistoryArchive(o, dir);
  SqliteArchive store(file);
  std::vector<double> times;
  BacktestSummary last;
  int days = 0, picks = 0, settled = 0;
  for (int round = 0; round < o.rounds; ++round) {
    OfflineClient client(store, dir);
    const double start = WallSeconds();
    last = client.session.RunBacktest(AddDays(kDay, -o.historyDays), AddDays(kDay, -1));
    times.push_back(WallSeconds() - start);
    days = static_cast<int>(last.done.size());
    picks = settled = 0;
    for (const BacktestDay& d : last.done) {
      picks += d.picks;
      settled += d.settled;
    }
  }
  const auto ledger = store.Picks();
  const bool same =
      KeysOf(ledger, PickSource::kLive, 0) == KeysOf(ledger, PickSource::kBacktest, last.runId);
  const double seconds = Median(times);
  std::printf("  %-34s %10.2f s   target < 3 s: %s\n", "wall time", seconds,
              Verdict(seconds < 3 && days == o.historyDays));
  std::printf("  %-34s %10.3f s\n", "  per day", seconds / std::max(days, 1));
  std::printf("  %-34s %12d\n", "days replayed", days);
  std::printf("  %-34s %12d\n", "picks", picks);
  std::printf("  %-34s %12d\n", "  settled from the archive", settled);
  std::printf("  %-34s %12s\n", "same picks as the live days", same ? "yes" : "NO");
  if (!same) ++missed;
}

// `count` settled picks of four methods over 100 days, each winning with 1 / its price.
std::vector<Pick> SyntheticPicks(int count) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int> tick(0, 399);
  std::uniform_real_distribution<double> unit(0, 1);
  const char* methods[] = {"Best Rank", "Best Recoming", "MySystem", "Tipster"};
  std::vector<Pick> picks;
  for (int i = 0; i < count; ++i) {
    Pick p;
    p.day = AddDays(kDay, -(i % 100));
    p.time = std::to_string(12 + i % 10) + ":" + std::to_string(10 + i % 50);
    p.course = "Course " + std::to_string(i % 20);
    p.runner = "Runner " + std::to_string(i);
    p.system = methods[i % 4];
    const double price = 1.5 + tick(random) * 0.05;  // 400 prices from 1.5 to 21.45
    if (i % 7 != 0) p.price = price;
    const double u = unit(random);
    p.result = u < 1 / price     ? PickResult::kWon
               : u < 2.5 / price ? PickResult::kPlaced
               : i % 97 == 0     ? PickResult::kVoid
                                 : PickResult::kUnplaced;
    if (p.result == PickResult::kWon || p.result == PickResult::kPlaced) p.sp = price * 1.05;
    picks.push_back(std::move(p));
  }
  return picks;
}

// The Proof page's figures: from the ledger alone, and through the Session from the archive.
void ProofFiguresScenario(const Options& o, const std::filesystem::path& dir) {
  Header("The Proof page's figures for " + std::to_string(o.proofPicks) +
         " settled picks of four methods");
  const auto ledger = SyntheticPicks(o.proofPicks);
  std::vector<double> figures, shown;
  for (int round = 0; round < std::max(o.rounds, 5); ++round) {
    const double start = WallSeconds();
    const ProofReport report = MakeProofReport(ledger, {}, {});
    figures.push_back(WallSeconds() - start);
  }
  const auto folder = dir / "proof";
  std::filesystem::create_directories(folder);
  SqliteArchive store(folder / kArchiveFileName);
  ArchiveWrite write;
  for (const Pick& p : ledger) write.picks.push_back({PickChange::kAdd, p, {}});
  for (const Pick& p : ledger) write.picks.push_back({PickChange::kSettle, p, {}});
  store.Write(write);
  OfflineClient client(store, folder);
  for (int round = 0; round < std::max(o.rounds, 5); ++round) {
    const double start = WallSeconds();
    client.session.ShowProof({});
    shown.push_back(WallSeconds() - start);
  }
  const double page = Median(shown);
  std::printf("  %-34s %9.1f ms\n", "figures of the ledger", Median(figures) * 1e3);
  std::printf("  %-34s %9.1f ms   target < 100 ms: %s\n", "read from the archive and figured",
              page * 1e3,
              Verdict(page < 0.1 && client.session.proof()->sides[0].methods.size() == 4));
}

void PeakMemory(const Options& o, const std::filesystem::path& dir) {
  Header("Peak memory (maximum resident set size)");
  auto sim = StartSim(o.memoryRaces, 0);
  if (!std::filesystem::exists(o.cli)) {
    std::printf("  trotix-cli not found at %s\n", o.cli.c_str());
    ++missed;
  } else {
    for (int cap : kCaps) {
      const ChildRun run = RunChild(
          {o.cli, "--data-server", sim->BaseUrl(), "--web-site", sim->BaseUrl(), "--exchange-site",
           sim->BaseUrl(), "--login", "demo", "--password", "demo", "--today", FormatDate(kDay),
           "--dir", dir.string(), "--max-connections", std::to_string(cap), "best-rank"},
          (dir / "peak").string());
      const std::string what = "trotix-cli, " + std::to_string(o.memoryRaces) +
                               "-race best-rank, " + std::to_string(cap) + " conn.";
      std::printf("  %-42s %8.1f MiB   target < 30 MiB: %s%s\n", what.c_str(), run.peakKiB / 1024.0,
                  Verdict(run.peakKiB < 30 * 1024), run.exitCode == 0 ? "" : "  (the run failed)");
    }
  }
  if (!std::filesystem::exists(o.window)) {
    std::printf("  the window is not built (%s): configure with -DTROTIX_GUI=ON\n",
                o.window.c_str());
    return;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string picture = (dir / "window.png").string();
  for (int cap : kCaps) {
    const ChildRun run = RunChild(
        {o.window, "--demo", "--max-connections", std::to_string(cap), "--screenshot", picture},
        (dir / "peak").string(), dir.string());
    const std::string what = "window after sign-in (--demo), " + std::to_string(cap) + " conn.";
    std::printf("  %-42s %8.1f MiB   target < 150 MiB: %s%s\n", what.c_str(), run.peakKiB / 1024.0,
                Verdict(run.peakKiB < 150 * 1024), run.exitCode == 0 ? "" : "  (the run failed)");
  }
}

// A day of `races` races in the vendor's format where the optional tags are often missing: every
// third race has a prize and a count, every fifth one runner.
std::string LargeDay(int races) {
  std::string day;
  day.reserve(static_cast<std::size_t>(races) * 160);
  for (int i = 0; i < races; ++i) {
    const std::string n = std::to_string(i);
    day += "<zabeg><course>Course " + std::to_string(i % 97) + "</course><time>" +
           std::to_string(10 + i % 12) + ":" + std::to_string(10 + i % 50) +
           "</time><name>Stakes " + n + " (Class " + std::to_string(1 + i % 6) + ")</name>";
    if (i % 3 == 0) day += "<winner>BJ" + n + "</winner><count>8</count>";
    day += "<distance>1m2f</distance>\r\n";
    if (i % 5 == 0)
      day += "<horse><number>1</number><name_horse>Runner " + n +
             "</name_horse><or>80</or></horse>\r\n";
    day += "</zabeg>\r\n";
  }
  return day;
}

// Child side of the parse scenario: makes the day, then times what the sign-in and a Zorvat
// double-click do with it, and writes the seconds and the day's size to `out`.
int ParseDayMain(const std::string& kind, const std::string& out) {
  const std::string day = kind == "large" ? LargeDay(100000) : [] {
    std::string repeated;
    for (int i = 0; i < 800000; ++i) repeated += "<zabeg>";
    return repeated;
  }();
  const double start = WallSeconds();
  Workspace ws;
  ws.DayData = SplitLines(day);
  FillRaceLists(ws);
  if (ws.NX.RowCount() > 0) ScoreRace(ws, ws.NX.RowCount() - 1);
  const double seconds = WallSeconds() - start;
  std::ofstream(out) << seconds << ' ' << day.size() << ' ' << ws.RT.RowCount() << '\n';
  return 0;
}

void ParseDay(const std::filesystem::path& dir) {
  Header("Race-day parse: sign-in lists and the last race's Zorvat score, in a fresh process");
  const auto self = std::filesystem::canonical("/proc/self/exe").string();
  const struct {
    const char* kind;
    const char* what;
    double seconds;
    long peakMiB;
  } runs[] = {{"large", "100,000-race day", 2, 300}, {"repeated", "repeated <zabeg> tags", 1, 300}};
  for (const auto& run : runs) {
    const std::string out = (dir / "parse").string();
    const ChildRun child = RunChild({self, "--parse-day", run.kind, out}, (dir / "peak").string());
    double seconds = -1;
    std::size_t bytes = 0;
    int races = 0;
    std::ifstream(out) >> seconds >> bytes >> races;
    const bool read = child.started && seconds >= 0;
    char what[96];
    std::snprintf(what, sizeof what, "%s (%.1f MB, %d races)", run.what, bytes / 1e6, races);
    std::printf("  %-44s %8.3f s   target < %.0f s: %s\n", what, seconds, run.seconds,
                Verdict(read && seconds < run.seconds));
    std::printf("  %-44s %8.1f MiB target < %ld MiB: %s\n", "  peak memory", child.peakKiB / 1024.0,
                run.peakMiB, Verdict(read && child.peakKiB < run.peakMiB * 1024));
  }
}

}  // namespace
}  // namespace trotix::bench

int main(int argc, char** argv) {
  using namespace trotix::bench;
  if (const int measured = PeakOfMain(argc, argv); measured >= 0) return measured;
  if (argc == 4 && std::string(argv[1]) == "--parse-day") return ParseDayMain(argv[2], argv[3]);
  Options o;
  const auto build = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
  o.cli = (build / "src/cli/trotix-cli").string();
  o.window = (build / "src/gui/trotix").string();
  CLI::App app{
      "trotix-bench: the speed and memory targets, one request at a time against the "
      "default of 8 at once, on the demo server started in-process."};
  app.add_option("--latency-ms", o.latencyMs, "delay of every answer in the network scenarios")
      ->check(CLI::Range(1, 1000));
  app.add_option("--races", o.races, "races of the day in the network scenarios")
      ->check(CLI::Range(1, 300));
  app.add_option("--cpu-races", o.cpuRaces, "races of the day in the CPU scenario")
      ->check(CLI::Range(1, 300));
  app.add_option("--memory-races", o.memoryRaces, "races of the day of trotix-cli's run")
      ->check(CLI::Range(1, 300));
  app.add_option("--rounds", o.rounds, "repetitions of each scenario; the median counts")
      ->check(CLI::Range(1, 50));
  app.add_option("--history-days", o.historyDays, "days of the demo history scenario")
      ->check(CLI::Range(1, 366));
  app.add_option("--proof-picks", o.proofPicks, "picks of the Proof page's figures scenario")
      ->check(CLI::Range(1, 1000000));
  app.add_option("--only", o.only,
                 "run only these scenarios: signin, live, realodds, cpu, memory, parse, archive, "
                 "history, backtest, proof, settle, gap, luck, archived-day, ledger, systems, "
                 "archive-scale")
      ->check(CLI::IsMember({"signin", "live", "realodds", "cpu", "memory", "parse", "archive",
                             "gap", "history", "backtest", "proof", "settle", "luck",
                             "archived-day", "ledger", "systems", "archive-scale"}));
  app.add_option("--scale-days", o.scaleDays, "days of the archive-scale scenario")
      ->check(CLI::Range(2, 366));
  app.add_option("--ledger-events", o.ledgerEvents, "events of the ledger verify scenario")
      ->check(CLI::Range(2, 10000000));
  app.add_option("--cli", o.cli, "trotix-cli to measure");
  app.add_option("--window", o.window, "the window program to measure");
  CLI11_PARSE(app, argc, argv);

  char pattern[] = "/tmp/trotix-bench-XXXXXX";
  const std::filesystem::path dir = ::mkdtemp(pattern);
  std::printf("trotix-bench on %s\n", MachineDescription().c_str());
  std::printf("%d rounds per scenario, medians\n", o.rounds);
  const auto wanted = [&](const char* name) {
    return o.only.empty() || std::find(o.only.begin(), o.only.end(), name) != o.only.end();
  };
  if (wanted("signin")) SignInToReady(o, dir);
  if (wanted("live")) LiveAnalysis(o, dir);
  if (wanted("realodds")) BestRankFromRealOdds(o, dir);
  if (wanted("cpu")) BestRankCpu(o, dir);
  if (wanted("memory")) PeakMemory(o, dir);
  if (wanted("parse")) ParseDay(dir);
  if (wanted("archive")) Archive(o, dir);
  if (wanted("history")) History(o, dir);
  if (wanted("backtest")) Backtest(o, dir);
  if (wanted("proof")) ProofFiguresScenario(o, dir);
  if (wanted("settle") && !SettleHostileCard(dir, o.rounds)) ++missed;
  if (wanted("gap")) {
    Header("The window's event loop (sign-in and a race's analysis, --demo)");
    const auto gap = WindowLongestGap(o.window, dir);
    if (!gap) ++missed;
    std::printf("  %-34s %9s ms   target <= 100 ms: %s\n", "longest gap between 10 ms ticks",
                gap ? std::to_string(*gap).c_str() : "-", Verdict(gap && *gap <= 100));
  }
  if (wanted("luck") && !ExactLuckScenario(o.proofPicks)) ++missed;
  if (wanted("systems") && !SystemsScenario(dir, o.rounds)) ++missed;
  if (wanted("archived-day")) missed += ArchivedDayMemory({o.cli, o.races}, dir);
  if (wanted("archive-scale")) missed += ArchiveScale({o.cli, o.scaleDays, o.rounds}, dir);
  if (wanted("ledger")) {
    const LedgerVerifyFigures f = LedgerVerify(o.cli, dir, o.ledgerEvents, o.rounds);
    std::printf("\nledger verify: %lld events (written in %.1f s)\n", f.events, f.buildSeconds);
    // The machine is shared: the CPU time the run took is what an idle machine would wait.
    std::printf("  %-44s %8.3f s\n", "trotix-cli ledger verify, wall time", f.verifySeconds);
    std::printf("  %-44s %8.3f s   target < 1 s: %s\n", "  its CPU time (user + system)",
                f.cpuSeconds, Verdict(f.intact && f.cpuSeconds < 1.0));
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  std::printf("\n%s\n", missed == 0 ? "every target met" : "some targets NOT MET");
  return missed == 0 ? 0 : 1;
}
