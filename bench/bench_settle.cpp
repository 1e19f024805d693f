#include "bench_settle.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/recording_ports.h"
#include "app/session.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "bench_util.h"
#include "net/curl_http_client.h"
#include "vendorsim/vendor_sim.h"

namespace trotix::bench {
namespace {

constexpr Date kSettleDay{2026, 12, 8};

// The demo day with `bytes` of unclosed "<horse>" tags before the end of its first race.
std::string HostileDay(const vendorsim::VendorSim& sim, std::size_t bytes) {
  std::string day =
      sim.content().Get("/login/trotix.php", {{"login", "demo"}, {"pass", "demo"}}).body;
  std::string padding;
  padding.reserve(bytes + 7);
  while (padding.size() < bytes) padding += "<horse>";
  const auto end = day.find("</zabeg>");
  day.insert(end == std::string::npos ? day.size() : end, padding);
  return day;
}

// Seconds "Settle" took in a fresh archive against a day of `bytes` of padding, and the picks
// it settled of those it had.
struct Settled {
  double seconds = 0;
  int settled = 0, picks = 0;
};

Settled SettleOnce(vendorsim::VendorSim& sim, const std::filesystem::path& dir, std::size_t bytes) {
  sim.Override("/login/trotix.php", HostileDay(sim, bytes));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  SqliteArchive store(dir / kArchiveFileName);
  SessionArchive archive(store);
  // One client per port: the sign-in uses both at once.
  const auto curlWeb = MakeRedirectingClient();
  const auto curlZorvat = MakeNonRedirectingClient();
  RecordingHttpClient web(*curlWeb, archive, sim.SimHosts());
  RecordingHttpClient zorvat(*curlZorvat, archive, sim.SimHosts());
  RecordingBrowser browser;
  RecordingMessages messages;
  SilentProgress progress;
  FixedClock clock(kSettleDay);
  Session session(SessionOptions{sim.SimHosts(), dir, 8},
                  SessionPorts{web, zorvat, browser, messages, progress, clock, &archive});
  session.Start();
  Settled out;
  if (session.SignIn({"demo", "demo"}) != SignInResult::SignedIn) return out;
  session.RunBestRank(false);
  const double start = WallSeconds();
  const SettleSummary summary = session.Settle();
  out.seconds = WallSeconds() - start;
  out.settled = summary.settled;
  out.picks = summary.picks;
  return out;
}

}  // namespace

bool SettleHostileCard(const std::filesystem::path& dir, int rounds) {
  std::printf("\nSettle against a hostile card: the first race ends in unclosed runner records\n");
  vendorsim::SimOptions options;
  options.date = kSettleDay;
  options.races = 40;
  vendorsim::VendorSim sim(options);
  sim.Start();
  bool met = true;
  for (const std::size_t kb : {70, 140, 280, 560, 1120, 5600}) {
    std::vector<double> times;
    Settled last;
    for (int round = 0; round < rounds; ++round) {
      last = SettleOnce(sim, dir / "settle", kb * 1000);
      times.push_back(last.seconds);
    }
    const double seconds = Median(times);
    const bool whole = last.picks > 0 && last.settled == last.picks;
    char what[64];
    std::snprintf(what, sizeof what, "%zu KB card, %d of %d picks settled", kb, last.settled,
                  last.picks);
    if (kb == 5600) {
      const bool ok = whole && seconds < 1;
      met = met && ok;
      std::printf("  %-44s %8.3f s   target < 1 s: %s\n", what, seconds, ok ? "met" : "NOT MET");
    } else {
      met = met && whole;
      std::printf("  %-44s %8.3f s\n", what, seconds);
    }
  }
  return met;
}

}  // namespace trotix::bench
