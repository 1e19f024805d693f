#include "vendorsim/demo_history.h"

#include <exception>
#include <filesystem>
#include <stdexcept>

#include "app/recording_ports.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"
#include "net/curl_http_client.h"
#include "report/scratch_folder.h"
#include "vendorsim/vendor_sim.h"

namespace trotix::vendorsim {
namespace {

DemoHistoryDay BuildDay(SqliteArchive& store, const DemoHistoryOptions& o, const Date& day,
                        const std::filesystem::path& folder) {
  DemoHistoryDay built;
  built.day = day;
  SimOptions sim;
  sim.seed = o.seed;
  sim.date = day;
  sim.races = o.races;
  VendorSim server(sim);
  server.Start();
  const Hosts hosts = server.SimHosts();

  SessionArchive archive(store);
  auto web = MakeRedirectingClient();
  auto zorvat = MakeNonRedirectingClient();
  // The day runs on its own clock: picks and answers in its morning, results in its evening.
  FixedClock clock(day);
  const auto stamp = [&clock] { return UtcText(clock.Utc()); };
  RecordingHttpClient recordedWeb(*web, archive, hosts, stamp);
  RecordingHttpClient recordedZorvat(*zorvat, archive, hosts, stamp);
  RecordingBrowser browser;
  RecordingMessages messages;
  SilentProgress progress;
  Session session({hosts, folder, o.maxConnections},
                  {recordedWeb, recordedZorvat, browser, messages, progress, clock, &archive});
  session.Start();
  if (session.SignIn({"demo", "demo"}) != SignInResult::SignedIn) {
    built.error = "the demo sign-in failed";
    return built;
  }
  built.races = session.ws().MM.RowCount();
  for (int k = 0; k < built.races; ++k) session.AnalyseLive(k);
  session.RunBestRank(true);
  session.RunBestRecoming(true);
  built.picks = session.ws().REP.RowCount();
  clock.SetUtc(UtcInstant(day, {23, 0, 0}));
  session.LoadResults(FormatDate(day));
  built.settlement = session.Settle();
  return built;
}

}  // namespace

std::vector<DemoHistoryDay> BuildDemoHistory(
    SqliteArchive& store, const DemoHistoryOptions& options,
    const std::function<void(const DemoHistoryDay&, int index, int count)>& onDay) {
  std::vector<DemoHistoryDay> history;
  const ScratchFolder folder("trotix-demo-history");
  for (int back = options.days; back >= 1; --back) {
    if (options.stop && options.stop->stopped()) break;
    const Date day = AddDays(options.today, -back);
    DemoHistoryDay built;
    try {
      built = BuildDay(store, options, day, folder.path());
    } catch (const std::exception& e) {
      built.day = day;
      built.error = e.what();
    }
    history.push_back(built);
    if (onDay) onDay(built, static_cast<int>(history.size()), options.days);
  }
  return history;
}

}  // namespace trotix::vendorsim
