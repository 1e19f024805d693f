// trotix-cli: signs in and performs the user's clicks given on the command line, in order.
#include <pthread.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <thread>

#include "actions.h"
#include "app/error_text.h"
#include "app/recording_ports.h"
#include "app/system_clock.h"
#include "archive/archive_http_client.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "archive_actions.h"
#include "exit_codes.h"
#include "json_output.h"
#include "ledger_actions.h"
#include "net/curl_http_client.h"
#include "net/vendor_urls.h"
#include "options/host_options.h"
#include "options/password.h"
#include "options/setting_option.h"
#include "system_actions.h"
#include "text/dates.h"
#include "text/numbers.h"
#include "text_output.h"
#include "vendorsim/demo_history.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

struct Options {
  Hosts hosts;
  bool demo = false;
  std::string login, password, passwordFile;
  bool remember = false;
  std::string today;
  int maxConnections = 8;
  int deadlineSeconds = 300;
  std::string dir = ".";
  bool json = false;
  bool progress = false;
  bool noArchive = false;
  std::string archiveDay;
  std::string source = "live";
  long long run = 0;
  std::string course;
  std::string by;     // proof's breakdown
  std::string split;  // system test's split date
  double commission = 5;
  std::string raceTimes = OffsetText(kMoscowOffsetMinutes);
  std::vector<std::string> words;
};

std::string DaysText(const std::vector<Date>& days) {
  if (days.empty()) return "none";
  std::string text;
  for (const Date& d : days) text += (text.empty() ? "" : " ") + FormatDate(d);
  return text;
}

std::string HistoryLine(const vendorsim::DemoHistoryDay& d) {
  if (!d.error.empty()) return FormatDate(d.day) + ": " + d.error;
  const SettleSummary& s = d.settlement;
  return FormatDate(d.day) + ": " + std::to_string(d.races) + " races, " + std::to_string(d.picks) +
         " picks; settled " + std::to_string(s.settled) + " of " + std::to_string(s.picks) +
         " open (" + std::to_string(s.won) + " won, " + std::to_string(s.placed) + " placed, " +
         std::to_string(s.unplaced) + " unplaced, " + std::to_string(s.voided) + " void)";
}

nlohmann::json HistoryJson(const std::vector<vendorsim::DemoHistoryDay>& history) {
  auto out = nlohmann::json::array();
  for (const auto& d : history)
    out.push_back({{"day", FormatDate(d.day)},
                   {"races", d.races},
                   {"picks", d.picks},
                   {"settlement", SettleJson(d.settlement)},
                   {"error", d.error}});
  return out;
}

// No panel to draw; with --progress each finished race is a line on stderr. Ctrl+C raises the
// stop signal, as the window's Cancel does.
class CliProgress : public Progress {
 public:
  explicit CliProgress(bool print) : print_(print) {}
  void ShowPanel(bool) override {}
  void SetGauge(Gauge, int, int) override {}
  void ShowGauge(Gauge, bool) override {}
  StopSignal* stopSignal() override { return &stop; }
  bool StepDone(const Workspace&, const RaceStep& step) override {
    if (print_) std::cerr << ProgressLine(step) << std::endl;
    return true;
  }
  StopSignal stop;

 private:
  bool print_;
};

// Takes Ctrl+C on a thread of its own (main blocks the signal for every thread), so that the
// cancel runs as ordinary code and can wake the requests in flight. A second Ctrl+C ends the
// program at once.
class InterruptWatch {
 public:
  explicit InterruptWatch(StopSignal& stop) : thread_([this, &stop] { Watch(stop); }) {}
  ~InterruptWatch() {
    done_ = true;
    thread_.join();
  }
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
  void Watch(StopSignal& stop) {
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    const timespec tick{0, 50'000'000};  // how soon the watch notices the end of the run
    bool seen = false;
    while (!done_) {
      if (sigtimedwait(&interrupt, nullptr, &tick) != SIGINT) continue;
      if (seen) std::_Exit(kExitInterrupted);
      seen = true;
      stop.Cancel();
    }
  }

  std::atomic<bool> done_{false};
  std::thread thread_;
};

void PrintChanged(const Workspace& before, const Workspace& after) {
  const auto old = before.Tables();
  const auto now = after.Tables();
  for (std::size_t i = 0; i < now.size(); ++i)
    if (!(*old[i].second == *now[i].second)) PrintTable(std::cout, now[i].first, *now[i].second);
}

// The command line's day at noon; its instant is the day's morning, or the machine's.
class RunClock : public FixedClock {
 public:
  RunClock(const Date& today, bool machine) : FixedClock(today), machine_(machine) {}
  Instant Utc() override { return machine_ ? SystemClock().Utc() : FixedClock::Utc(); }

 private:
  bool machine_;
};

// The password from the file, else --password, else the variable, else asked for on the
// terminal when a login has none. Returns the exit status when the run cannot go on, 0 otherwise.
int TakePassword(Options& o) {
  if (!o.passwordFile.empty()) {
    std::string error;
    o.password = ReadPasswordFile(o.passwordFile, error);
    if (!error.empty()) {
      std::cerr << "--password-file: " << error << '\n';
      return kExitBadArguments;
    }
  } else if (const char* variable = std::getenv(kPasswordVariable);
             o.password.empty() && variable != nullptr) {
    o.password = variable;
  }
  if (o.login.empty() || !o.password.empty() || !::isatty(STDIN_FILENO)) return 0;
  const auto typed = PromptPassword(STDIN_FILENO, STDERR_FILENO, "Password for " + o.login + ": ");
  if (!typed) {
    std::cerr << "no password given\n";
    return kExitInterrupted;
  }
  o.password = *typed;
  return 0;
}

int Run(Options& o) {
  if (const int status = TakePassword(o); status != 0) return status;
  Date today = SystemClock().Today();
  if (!o.today.empty()) {
    const auto parsed = ParseDate(o.today);
    if (!parsed) {
      std::cerr << "--today wants dd.mm.yyyy, not " << o.today << '\n';
      return kExitBadArguments;
    }
    today = *parsed;
  }
  std::optional<Date> replayDay;
  if (!o.archiveDay.empty()) {
    replayDay = ParseDate(o.archiveDay);
    if (!replayDay) {
      std::cerr << "--archive-day wants dd.mm.yyyy, not " << o.archiveDay << '\n';
      return kExitBadArguments;
    }
    if (o.noArchive) {
      std::cerr << "--archive-day replays from the archive, which --no-archive turns off\n";
      return kExitBadArguments;
    }
    if (!o.today.empty() && !(today == *replayDay)) {
      std::cerr << "--today and --archive-day name different days\n";
      return kExitBadArguments;
    }
    today = *replayDay;
  }
  std::optional<Date> split;
  if (!o.split.empty()) {
    split = ParseDate(o.split);
    if (!split) {
      std::cerr << "--split wants dd.mm.yyyy, not " << o.split << '\n';
      return kExitBadArguments;
    }
  }
  const auto raceTimesOffset = ParseOffsetText(o.raceTimes);
  if (!raceTimesOffset) {
    std::cerr << "--race-times wants UTC, UTC+3 or UTC-5:30, not " << o.raceTimes << '\n';
    return kExitBadArguments;
  }
  const auto archiveFile =
      std::filesystem::path(o.dir) / (o.demo ? kDemoArchiveFileName : kArchiveFileName);
  if (const auto ledger = RunLedgerCommand(o.words, {archiveFile, *raceTimesOffset, o.json}))
    return *ledger;
  if (const auto care = RunArchiveCommand(o.words, {archiveFile, o.json})) return *care;
  std::vector<Action> actions;
  if (const auto error = ParseActions(o.words, actions); !error.empty()) {
    std::cerr << error << '\n';
    return kExitBadArguments;
  }

  // The archive's reports need no server: a run of nothing else signs in nowhere.
  const bool offline =
      !actions.empty() && std::all_of(actions.begin(), actions.end(), IsArchiveReport);

  RunRecord record;
  std::vector<std::string> notes;  // said, but they fail nothing
  // The archive: the run goes on without it when the file cannot be used, and the file is left
  // as it is.
  std::unique_ptr<SqliteArchive> store;
  if (!o.noArchive) {
    try {
      store = std::make_unique<SqliteArchive>(archiveFile);
      if (store->readOnly())
        notes.push_back("the archive " + archiveFile.string() +
                        " is read-only: it is read, nothing is recorded");
    } catch (const ArchiveError& e) {
      if (replayDay) {
        std::cerr << PrintableText(e.what()) << '\n';
        return kExitSignInFailed;
      }
      record.errors.push_back(std::string(e.what()) + "; working without the archive");
    }
  }
  std::optional<StoredDay> stored;
  std::unique_ptr<SessionArchive> archive;
  if (replayDay) {
    try {
      stored = store->LoadDay(*replayDay);
      if (!stored) {
        std::cerr << "the archive " << store->file().string() << " holds no day "
                  << FormatDate(*replayDay) << " (stored days: " << DaysText(store->Days())
                  << ")\n";
        return kExitSignInFailed;
      }
      archive = std::make_unique<SessionArchive>(*store, *replayDay);
    } catch (const ArchiveError& e) {
      std::cerr << PrintableText(e.what()) << '\n';
      return kExitSignInFailed;
    }
    // The day's own hosts: every address the session builds is the one recorded.
    o.hosts = stored->hosts;
  } else if (store) {
    archive = std::make_unique<SessionArchive>(*store);
  }

  // The demo vendor server lives as long as the run; a replay needs none.
  std::unique_ptr<vendorsim::VendorSim> demo;
  if (o.demo) {
    if (!replayDay && !offline) {
      vendorsim::SimOptions sim;
      sim.date = today;
      demo = std::make_unique<vendorsim::VendorSim>(sim);
      demo->Start();
      o.hosts = demo->SimHosts();
    }
    if (o.login.empty() && o.password.empty()) o.login = o.password = "demo";
  }

  std::unique_ptr<HttpClient> web, zorvat, recordedWeb, recordedZorvat, replay;
  HttpClient* webPort = nullptr;
  HttpClient* zorvatPort = nullptr;
  if (replayDay) {
    replay = std::make_unique<ArchiveHttpClient>(std::move(stored->answers), o.hosts,
                                                 BodiesOf(*archive));
    webPort = zorvatPort = replay.get();
  } else if (offline) {
    // Nothing recorded: every request fails with "not in the archive".
    replay = std::make_unique<ArchiveHttpClient>(std::vector<RecordedAnswer>{}, o.hosts);
    webPort = zorvatPort = replay.get();
  } else {
    web = MakeRedirectingClient();
    zorvat = MakeNonRedirectingClient();
    webPort = web.get();
    zorvatPort = zorvat.get();
    if (archive) {
      recordedWeb = std::make_unique<RecordingHttpClient>(*web, *archive, o.hosts);
      recordedZorvat = std::make_unique<RecordingHttpClient>(*zorvat, *archive, o.hosts);
      webPort = recordedWeb.get();
      zorvatPort = recordedZorvat.get();
    }
  }
  RecordingBrowser browser;
  RecordingMessages messages;
  CliProgress progress(o.progress);
  const InterruptWatch watch(progress.stop);
  // A demo or replayed day runs on its own clock from the morning; a real server's picks are
  // stamped with the machine's instant when made.
  RunClock clock(today, !o.demo && !replayDay);
  SessionOptions sessionOptions{o.hosts, o.dir, o.maxConnections,
                                std::chrono::seconds(o.deadlineSeconds)};
  sessionOptions.raceTimesOffset = *raceTimesOffset;
  Session session(sessionOptions,
                  {*webPort, *zorvatPort, browser, messages, progress, clock, archive.get()});

  if (!offline) session.Start();
  const Workspace& ws = session.ws();
  // The fields as start-up filled them from tx.log, unless the options say otherwise.
  SignInForm form{session.view().login, session.view().password, session.view().rememberMe};
  if (!o.login.empty() || !o.password.empty()) {
    form.login = o.login;
    form.password = o.password;
  }
  if (o.remember) form.rememberMe = true;

  ActionState state;
  state.archive = archive != nullptr;
  state.archiveReadOnly = store && store->readOnly();
  state.backtestSource = o.source == "backtest";
  state.proofQuery.runId = state.backtestSource ? (o.run > 0 ? o.run : kLatestRun) : 0;
  state.proofQuery.course = o.course;
  state.proofQuery.commission = o.commission / 100;
  state.proofQuery.by = proof::BreakdownOfName(o.by);
  state.split = split;
  state.json = o.json;
  std::vector<vendorsim::DemoHistoryDay> history;
  if (o.demo && store && !replayDay) {
    state.demoHistory = [&](int days) {
      vendorsim::DemoHistoryOptions options;
      options.today = today;
      options.days = days;
      options.maxConnections = o.maxConnections;
      options.stop = &progress.stop;
      std::string errors;
      const auto built = vendorsim::BuildDemoHistory(
          *store, options, [&](const vendorsim::DemoHistoryDay& d, int index, int count) {
            std::cerr << "demo-history " << index << "/" << count << " "
                      << PrintableText(HistoryLine(d)) << std::endl;
            if (!d.error.empty()) errors += (errors.empty() ? "" : "; ") + HistoryLine(d);
          });
      history.insert(history.end(), built.begin(), built.end());
      return errors;
    };
  }

  Workspace before = ws;
  const SignInResult signIn = offline ? SignInResult::SignedIn : session.SignIn(form);
  // A file the Session could not write is an error of the step that wrote it.
  std::size_t failures = 0;
  const auto takeFailures = [&](const std::string& step) {
    for (; failures < session.failures().size(); ++failures)
      record.errors.push_back(step + ": " + session.failures()[failures]);
  };
  takeFailures("sign-in");
  const StopSignal& stop = progress.stop;
  if (stop.cancelled()) record.errors.push_back("sign-in: cancelled");
  if (signIn != SignInResult::SignedIn && !actions.empty()) {
    std::string skipped;
    for (const auto& action : actions) skipped += (skipped.empty() ? "" : ", ") + action.name;
    record.errors.push_back("not run without a sign-in: " + skipped);
  }
  for (const auto& action : actions) {
    if (signIn != SignInResult::SignedIn || stop.cancelled()) break;
    before = ws;
    try {
      if (auto error = RunAction(session, state, action); !error.empty())
        record.errors.push_back(error);
    } catch (...) {
      record.errors.push_back(action.name + ": " + CurrentErrorText());
    }
    takeFailures(action.name);
    if (stop.cancelled()) record.errors.push_back(action.name + ": cancelled");
  }
  // A note (a tx.log left unread) is said but ends nothing: it does not make the run fail.
  bool failed = !record.errors.empty();
  // Notes come first: they were taken at start-up and sign-in, before any action.
  record.errors.insert(record.errors.begin(), session.view().notes.begin(),
                       session.view().notes.end());
  record.errors.insert(record.errors.begin(), notes.begin(), notes.end());
  record.messages = messages.shown;
  record.opened = browser.opened;
  std::vector<Pick> ledger;
  if (state.archiveUsed && store) {
    try {
      ledger = store->Picks();
    } catch (const ArchiveError& e) {
      record.errors.push_back(e.what());
      failed = true;
    }
  }

  // A run that ends with a report of the archive prints that report.
  const std::string last = actions.empty() ? std::string() : actions.back().name;
  const ProofSide* side = state.proof ? ChosenSide(*state.proof, state.backtestSource) : nullptr;
  ProofSide none;
  none.source = state.backtestSource ? PickSource::kBacktest : PickSource::kLive;
  if ((last == "proof" || last == "picks") && !side) side = &none;
  // A back-test the archive, the sign-in or Ctrl+C kept from running has an empty summary.
  const BacktestSummary noBacktest;
  const BacktestSummary& backtest = state.backtests.empty() ? noBacktest : state.backtests.back();
  if (last == "system" && IsOfflineSystemAction(actions.back())) {
    std::cout << state.systemOutput;
    for (const auto& m : record.messages) std::cerr << "message: " << PrintableText(m) << '\n';
    for (const auto& e : record.errors) std::cerr << "error: " << PrintableText(e) << '\n';
  } else if (last == "proof" || last == "picks" || last == "backtest") {
    const auto lines =
        last == "picks" ? PickLinesOf(*side, state.picksMethod) : std::vector<PickLine>();
    if (o.json && last == "proof")
      std::cout << ProofJson(*side, state.proofQuery.by).dump(2) << '\n';
    if (o.json && last == "picks") std::cout << PickLinesJson(lines).dump(2) << '\n';
    if (o.json && last == "backtest") std::cout << BacktestJson(backtest).dump(2) << '\n';
    if (!o.json && last == "proof") PrintProof(std::cout, *side, state.proofQuery.by);
    if (!o.json && last == "picks") PrintPickLines(std::cout, state.picksMethod, lines);
    if (!o.json && last == "backtest" && !state.backtests.empty())
      PrintBacktest(std::cout, backtest);
    // The report keeps standard output; what the run said goes beside it.
    for (const auto& m : record.messages) std::cerr << "message: " << PrintableText(m) << '\n';
    for (const auto& e : record.errors) std::cerr << "error: " << PrintableText(e) << '\n';
  } else if (o.json) {
    auto j = WorkspaceJson(ws, session.view(), record);
    // Only the archive's actions add keys; the rest of the output is the same with or without it.
    if (state.archiveUsed) j["picks"] = PicksJson(ledger);
    if (!state.settlements.empty()) j["settlement"] = SettleJson(state.settlements.back());
    if (!history.empty()) j["history"] = HistoryJson(history);
    std::cout << j.dump(2) << '\n';
  } else {
    PrintChanged(before, ws);
    for (const auto& d : history) std::cout << "history: " << PrintableText(HistoryLine(d)) << '\n';
    if (state.archiveUsed) PrintPicks(std::cout, ledger);
    for (const auto& m : record.messages) std::cout << "message: " << PrintableText(m) << '\n';
    for (const auto& u : record.opened) std::cout << "opened: " << PrintableText(u) << '\n';
    for (const auto& e : record.errors) std::cerr << "error: " << PrintableText(e) << '\n';
  }
  if (stop.cancelled()) return kExitInterrupted;
  if (signIn != SignInResult::SignedIn) return kExitSignInFailed;
  return failed ? kExitActionFailed : 0;
}

}  // namespace
}  // namespace trotix

int main(int argc, char** argv) {
  // Before any thread starts, so that every thread inherits it: Ctrl+C goes to the watch only.
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);

  trotix::Options o;
  CLI::App app{
      "trotix-cli: signs in to the vendor's servers and performs the given actions "
      "as the window's clicks would, then prints the result. Ctrl+C stops the action running "
      "as the window's Cancel does and prints the state so far.\n"
      "Exit status: 0 the actions ran, 2 bad arguments, 3 the sign-in failed, 4 an action ended "
      "in an error (the deadline included) or a file could not be written, 5 `ledger verify` "
      "found the record broken, 130 Ctrl+C.\n"
      "`ledger export FILE`, `ledger verify [FILE]` and `ledger digest dd.mm.yyyy` work on the "
      "picks ledger alone. `archive info|backup FILE|export dd.mm.yyyy FILE|import FILE|vacuum|"
      "migrate` care for the archive's file."};
  app.set_version_flag("--version", "trotix-cli " + std::string(trotix::kVersion));
  trotix::AddHostOptions(app, o.hosts);
  app.add_flag("--demo", o.demo, "Start the demo vendor server in-process and use its account");
  app.add_option("--login", o.login, "Login");
  CLI::Option* password =
      app.add_option("--password", o.password,
                     "Password; readable by every user of the machine while the program runs: "
                     "prefer --password-file, " +
                         std::string(trotix::kPasswordVariable) +
                         " or the prompt (a --login without a password, on a terminal)");
  app.add_option("--password-file", o.passwordFile,
                 "Read the password from the first line of this file")
      ->excludes(password);
  app.add_flag("--remember", o.remember, "Tick \"Remember me\" (writes tx.log)");
  app.add_option("--today", o.today, "Today's date, dd.mm.yyyy");
  app.add_option("--max-connections", o.maxConnections, "Requests at once (1: one after another)")
      ->check(trotix::Within(trotix::RunSetting::kMaxConnections));
  app.add_option("--dir", o.dir, "Folder of tx.log and the HTML pages")
      ->check(CLI::ExistingDirectory);
  app.add_option("--deadline", o.deadlineSeconds,
                 "Seconds a command may wait on the servers before it stops as Ctrl+C would "
                 "(a best-of run: per race); 0 for none")
      ->check(trotix::Within(trotix::RunSetting::kDeadlineSeconds));
  app.add_flag("--progress", o.progress, "Print each race of a best-of run on stderr as it ends");
  app.add_flag("--json", o.json, "Print the whole state as one JSON object");
  app.add_flag("--no-archive", o.noArchive,
               "Keep nothing in the archive (trotix.db, or trotix-demo.db with --demo, in --dir)");
  app.add_option("--archive-day", o.archiveDay,
                 "Replay a stored day, dd.mm.yyyy, offline from the archive");
  app.add_option("--source", o.source,
                 "proof and picks: the live picks, or those of a back-test run (the newest, or "
                 "--run)")
      ->check(CLI::IsMember({"live", "backtest"}));
  app.add_option("--run", o.run, "With --source backtest: the back-test run by number")
      ->check(CLI::PositiveNumber);
  app.add_option("--race-times", o.raceTimes,
                 "The zone of the vendor's race times, UTC+3 (Moscow) unless given: a pick made "
                 "at or after its race's off is late");
  app.add_option("--course", o.course, "proof and picks: only the picks of this course");
  app.add_option("--by", o.by,
                 "proof: the figures by price band, course, month, race class or field size")
      ->check(CLI::IsMember({"band", "course", "month", "class", "runners"}));
  app.add_option("--split", o.split,
                 "system test: the figures before this day (in-sample) and from it on "
                 "(out-of-sample), dd.mm.yyyy");
  app.add_option("--commission", o.commission,
                 "proof: the commission on net winnings at the price when picked, in per cent")
      ->check(trotix::Within(trotix::RunSetting::kCommissionPercent));
  app.add_option("actions", o.words,
                 "Actions: today ROW, all ROW, zorvat ROW, indicator ROW, results [dd.mm.yyyy], "
                 "link ROW, add ROW, select ROW, delete, clear, save, real-odds on|off, "
                 "best-rank, best-recoming, tv, market, settle, demo-history DAYS (with --demo), "
                 "proof [FROM [TO]], backtest FROM TO, picks METHOD (dates dd.mm.yyyy; these "
                 "three read only the archive), system save NAME FILE | list | show NAME | "
                 "delete NAME | test NAME [FROM [TO]] | run NAME");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  try {
    return trotix::Run(o);
  } catch (...) {
    // Start-up or the sign-in ended by an error of any kind: said, never a crash.
    std::cerr << "error: " << trotix::PrintableText(trotix::CurrentErrorText()) << '\n';
    return trotix::kExitActionFailed;
  }
}
