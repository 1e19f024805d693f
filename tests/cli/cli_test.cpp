// trotix-cli run as a program against its embedded demo server.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "analysis/analyse_race.h"
#include "app/recording_ports.h"
#include "app/session.h"
#include "archive/archive_http_client.h"
#include "archive/request_key.h"
#include "archive/sqlite_archive.h"
#include "support/fixture_server.h"
#include "support/loopback_server.h"
#include "support/shell_run.h"
#include "support/temp_folder.h"
#include "vendorsim/vendor_sim.h"

extern char** environ;

namespace trotix {
namespace {

using CliRun = trotix::testing::ShellRun;

// `errors` says where stderr goes: away, or "2>&1" into the output; `env` what env(1) changes.
CliRun RunCli(const std::string& args, const char* errors = "2>/dev/null",
              const std::string& env = "") {
  const std::string command = "env " + env + " " + TROTIX_CLI + " " + args + " " + errors;
  return trotix::testing::RunShell(command);
}

nlohmann::json Json(const CliRun& run) {
  return nlohmann::json::parse(run.out);
}

// trotix-cli started with `args`, its stdout into a file, its stderr read line by line as it
// comes.
class RunningCli {
 public:
  RunningCli(const std::vector<std::string>& args, const std::filesystem::path& out) {
    std::vector<std::string> all = {TROTIX_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    err_ = ::fdopen(pipeFds[0], "r");
  }
  ~RunningCli() {
    if (pid_ > 0 && status_ < 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
    if (err_) ::fclose(err_);
  }
  // The next line of stderr, without its end; false at its end.
  bool NextLine(std::string& line) {
    std::array<char, 4096> buf;
    if (err_ == nullptr || std::fgets(buf.data(), buf.size(), err_) == nullptr) return false;
    line = buf.data();
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return true;
  }
  void Interrupt() { ::kill(pid_, SIGINT); }
  int Wait() {
    int raw = 0;
    if (status_ < 0 && ::waitpid(pid_, &raw, 0) == pid_)
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return status_;
  }
  bool started() const { return pid_ > 0 && err_ != nullptr; }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  FILE* err_ = nullptr;
};

TEST(Cli, DemoSignInPrintsTheWholeWorkspace) {
  testing::TempFolder dir;
  const CliRun run = RunCli("--demo --today 04.12.2026 --json --dir " + dir.path().string());
  ASSERT_EQ(run.status, 0) << run.out;
  const auto j = Json(run);
  EXPECT_TRUE(j["signedIn"].get<bool>());
  const auto races = j["tables"]["RT"]["rows"].size();
  EXPECT_GE(races, 30u);
  EXPECT_EQ(j["tables"]["NX"]["rows"].size(), races);
  EXPECT_EQ(j["tables"]["MM"]["rows"].size(), races);
  EXPECT_EQ(j["labels"]["glavcount"], "Count: " + std::to_string(races) + "  ");
  for (const char* key : {"u1", "u8", "bfnumber", "ind1", "ind2", "e1"})
    EXPECT_TRUE(j["labels"].contains(key)) << key;
  EXPECT_EQ(j["visibleTabs"], nlohmann::json({"Today", "Scalp Odds", "Zorvat", "Tips", "Result",
                                              "Report", "ALL TABLE"}));
  EXPECT_FALSE(j["enabled"]["tvbutton"].get<bool>());
  EXPECT_TRUE(j["messages"].empty());
  // A cell carries every key of the contract; the flag column is an image with the country.
  const auto& cell = j["tables"]["RT"]["rows"][0][0];
  for (const char* key : {"text", "value", "image", "color", "bold", "hint"})
    EXPECT_TRUE(cell.contains(key)) << key;
  EXPECT_TRUE(cell["image"].is_number());
  EXPECT_EQ(j["tables"]["RT"]["columns"][1]["caption"], "Time");
  EXPECT_EQ(j["tables"]["TAB"]["columns"][2]["hidden"], true);
}

TEST(Cli, ResultsAndZorvatActions) {
  testing::TempFolder dir;
  const CliRun run = RunCli("--demo --today 04.12.2026 --json --dir " + dir.path().string() +
                            " results 01.12.2026 zorvat 0 link 0");
  ASSERT_EQ(run.status, 0) << run.out;
  const auto j = Json(run);
  EXPECT_GT(j["tables"]["REZ"]["rows"].size(), 0u);
  EXPECT_GT(j["tables"]["H"]["rows"].size(), 0u);
  EXPECT_EQ(j["tables"]["H"]["rows"].size(), j["tables"]["TAB"]["rows"].size());
  ASSERT_EQ(j["opened"].size(), 1u);
  EXPECT_EQ(j["opened"][0], j["tables"]["REZ"]["rows"][0][11]["text"]);
}

TEST(Cli, AnalysisReportAndBestOfActions) {
  testing::TempFolder dir;
  const CliRun run = RunCli("--demo --today 04.12.2026 --json --dir " + dir.path().string() +
                            " today 0 add 0 add 1 select 0 delete delete save real-odds off"
                            " best-recoming tv");
  ASSERT_EQ(run.status, 4) << run.out;  // the "tv" click below is an error
  const auto j = Json(run);
  const auto& rep = j["tables"]["REP"]["rows"];
  ASSERT_GT(rep.size(), 1u);
  EXPECT_EQ(rep[0][4]["text"], "MySystem");
  EXPECT_EQ(rep[1][4]["text"], "Best Recoming");
  EXPECT_EQ(j["messages"],
            nlohmann::json({"Add to Report", "Add to Report", "Select Please Horse"}));
  EXPECT_EQ(j["opened"], nlohmann::json({(dir.path() / "report.html").string()}));
  // The second "delete" finds no row selected; the Today analysis leaves the browser buttons
  // disabled, so "tv" cannot be clicked.
  EXPECT_EQ(j["errors"],
            nlohmann::json({"delete: no report row is selected", "tv: the button is disabled"}));
  EXPECT_GT(j["tables"]["R"]["rows"].size(), 0u);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "report.html"));
}

TEST(Cli, ExitStatuses) {
  testing::TempFolder dir;
  const std::string base = "--demo --today 04.12.2026 --dir " + dir.path().string();
  EXPECT_EQ(RunCli(base + " no-such-action").status, 2);
  EXPECT_EQ(RunCli(base + " zorvat").status, 2);  // a row is needed
  EXPECT_EQ(RunCli(base + " --today 31.02.2026").status, 2);
  const CliRun rejected = RunCli(base + " --password wrong --json");
  EXPECT_EQ(rejected.status, 3);
  EXPECT_EQ(Json(rejected)["messages"], nlohmann::json({"Autorization Failed!"}));
  EXPECT_FALSE(Json(rejected)["signedIn"].get<bool>());
  const CliRun badRow = RunCli(base + " --json zorvat 999");
  EXPECT_EQ(badRow.status, 4);
  EXPECT_EQ(Json(badRow)["errors"].size(), 1u);
  // A report that cannot be written: its name is taken by a folder.
  std::filesystem::create_directory(dir.path() / "report.html");
  const CliRun unsaved = RunCli(base + " --json today 1 add 0 save");
  EXPECT_EQ(unsaved.status, 4);
  ASSERT_EQ(Json(unsaved)["errors"].size(), 1u);
  EXPECT_TRUE(Json(unsaved)["errors"][0].get<std::string>().starts_with("save: Cannot write "));
  // A note at start-up (a tx.log that is a folder) is said, and the run still succeeds.
  testing::TempFolder noted;
  std::filesystem::create_directory(noted.path() / "tx.log");
  const CliRun note = RunCli("--demo --today 04.12.2026 --json --dir " + noted.path().string());
  EXPECT_EQ(note.status, 0);
  ASSERT_EQ(Json(note)["errors"].size(), 1u);
  EXPECT_TRUE(Json(note)["errors"][0].get<std::string>().starts_with("tx.log ignored"));
  const CliRun version = RunCli("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "trotix-cli 3.8\n");
}

// The CLI against a vendor on loopback that answers the sign-in and the results as given.
TEST(Cli, HostileVendorAnswers) {
  struct Case {
    const char* name;
    std::string day, results, actions;
    std::vector<std::string> lines;  // expected among the text output's lines
  };
  const Case cases[] = {
      {"empty day", "", "", "", {"message: No races in today's card"}},
      {"garbage day",
       std::string("\x01\xff<zabeg>\0<course>", 18),
       "",
       "",
       {"message: No races in today's card"}},
      {"link holding line breaks",
       "<zabeg><course>Ascot</course><time>13:30</time></zabeg>",
       ")13:00>>Ascot>>http://r/1\r\nopened: file:///etc/passwd>>A>>1>>B>>2>>C>>3>>D>>4>><br>",
       "results 08.12.2026 link 0",
       {"opened: http://r/1\\r\\nopened: file:///etc/passwd"}},
  };
  for (const auto& c : cases) {
    testing::FixtureServer vendor;
    vendor.Set("/refresh/trotix3.8.txt", "ok");
    vendor.Set("/login/trotix.php", c.day);
    vendor.Set("/horse/rez.php", c.results);
    testing::TempFolder dir;
    const CliRun run = RunCli("--data-server " + vendor.Base() + " --web-site " + vendor.Base() +
                              " --login a --password b --today 09.12.2026 --dir " +
                              dir.path().string() + " " + c.actions);
    EXPECT_EQ(run.status, 0) << c.name;
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < run.out.size(); at = end + 1) {
      end = run.out.find('\n', at);
      if (end == std::string::npos) end = run.out.size();
      lines.push_back(run.out.substr(at, end - at));
    }
    for (const auto& line : c.lines)
      EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << c.name << "\n" << run.out;
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("opened:"); }),
              c.actions.empty() ? 0 : 1)
        << c.name;
  }
}

// Course names that would drive the terminal (ESC), forge a line (CR LF) or turn the rest of a
// line around (U+202E) are escaped in the --progress lines and in the text output.
TEST(Cli, ControlCharactersInNamesAreEscaped) {
  struct Name {
    std::string raw, escaped;
  };
  const Name names[] = {{"Asc\x1b[2Jot", "Asc\\x1b[2Jot"},
                        {"Kempton\r\nbest-rank 9/9", "Kempton\\r\\nbest-rank 9/9"},
                        {"\xE2\x80\xAEtocsA", "\\u202etocsA"},
                        {"Lin\x7F\xE2\x81\xA6gfield", "Lin\\x7f\\u2066gfield"}};
  std::string day;
  int minute = 10;
  for (const Name& n : names)
    day += "<zabeg><course>" + n.raw + "</course><time>13:" + std::to_string(minute++) +
           "</time><horse><number>1</number><name_horse>Dune</name_horse><or>80</or></horse>"
           "<horse><number>2</number><name_horse>Sea Bird</name_horse><or>70</or></horse>"
           "</zabeg>\r\n";
  testing::FixtureServer vendor;
  vendor.Set("/refresh/trotix3.8.txt", "ok");
  vendor.Set("/login/trotix.php", day);
  testing::TempFolder dir;
  const auto out = dir.path() / "out.txt";
  RunningCli cli(
      {"--data-server", vendor.Base(), "--web-site", vendor.Base(), "--login", "a", "--password",
       "b", "--today", "09.12.2026", "--dir", dir.path().string(), "--progress", "best-rank"},
      out);
  ASSERT_TRUE(cli.started());
  std::vector<std::string> progress;
  for (std::string line; cli.NextLine(line);) progress.push_back(line);
  EXPECT_EQ(cli.Wait(), 0);
  ASSERT_EQ(progress.size(), std::size(names)) << "one line per race, none forged";
  // Signed in alone, the race list is the text output.
  const std::string text =
      RunCli("--data-server " + vendor.Base() + " --web-site " + vendor.Base() +
             " --login a --password b --today 09.12.2026 --dir " + dir.path().string())
          .out;
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_NE(progress[i].find(names[i].escaped), std::string::npos) << progress[i];
    EXPECT_NE(text.find(names[i].escaped), std::string::npos) << names[i].escaped;
  }
  for (const std::string& shown : {text, progress[0] + progress[1] + progress[2] + progress[3]}) {
    EXPECT_EQ(shown.find('\x1b'), std::string::npos);
    EXPECT_EQ(shown.find('\r'), std::string::npos);
    EXPECT_EQ(shown.find('\x7f'), std::string::npos);
    EXPECT_EQ(shown.find("\xE2\x80\xAE"), std::string::npos);
    EXPECT_EQ(shown.find("\xE2\x81\xA6"), std::string::npos);
  }
}

TEST(Cli, TextOutputPrintsTheTablesTheLastActionChanged) {
  testing::TempFolder dir;
  const CliRun run =
      RunCli("--demo --today 04.12.2026 --dir " + dir.path().string() + " results 01.12.2026");
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("REZ ("), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("RT ("), std::string::npos) << run.out;
}

// Against a server answering each request in 200 ms: with --progress every finished race is a line
// on stderr as it ends; Ctrl+C after the first row stops the run within a second, prints the
// state so far (exactly the rows the lines announced) and exits with 130; no request follows.
// With the exchange silent, --deadline ends an action at its bound and says so.
TEST(Cli, ProgressCtrlCAndDeadlineAgainstASlowServer) {
  using Clock = std::chrono::steady_clock;
  vendorsim::SimOptions options;
  options.date = {2026, 12, 8};
  options.races = 12;
  options.latencyMinMs = options.latencyMaxMs = 200;
  vendorsim::VendorSim sim(options);
  sim.Start();
  testing::TempFolder dir;
  const std::vector<std::string> base = {
      "--data-server", sim.BaseUrl(), "--web-site", sim.BaseUrl(),       "--exchange-site",
      sim.BaseUrl(),   "--login",     "demo",       "--password",        "demo",
      "--today",       "08.12.2026",  "--dir",      dir.path().string(), "--json"};
  const auto out = dir.path() / "out.json";

  auto args = base;
  args.insert(args.end(), {"--progress", "best-rank"});
  RunningCli cli(args, out);
  ASSERT_TRUE(cli.started());
  const std::regex progress("best-rank ([0-9]+)/12 [0-9]{2}:[0-9]{2} .+: ([0-9]+) rows?");
  std::vector<int> raceNumbers;
  int announced = 0;
  Clock::time_point interrupted{};
  for (std::string line; cli.NextLine(line);) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, progress)) << line;
    raceNumbers.push_back(std::stoi(m[1]));
    announced += std::stoi(m[2]);
    if (announced > 0 && interrupted == Clock::time_point{}) {
      cli.Interrupt();
      interrupted = Clock::now();
    }
  }
  ASSERT_NE(interrupted, Clock::time_point{}) << "no race added a row";
  EXPECT_EQ(cli.Wait(), 130);
  EXPECT_LT(Clock::now() - interrupted, std::chrono::seconds(1));
  const int requests = sim.Requests("*");
  ASSERT_LT(raceNumbers.size(), 12u);
  for (std::size_t i = 0; i < raceNumbers.size(); ++i) EXPECT_EQ(raceNumbers[i], int(i) + 1);
  const auto j = nlohmann::json::parse(testing::ReadFile(out));
  EXPECT_EQ(static_cast<int>(j["tables"]["REP"]["rows"].size()), announced);
  EXPECT_EQ(j["errors"], nlohmann::json({"best-rank: cancelled"}));
  EXPECT_TRUE(j["messages"].empty());
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(sim.Requests("*"), requests);

  sim.SetFault("/betting/*", vendorsim::FaultMode::kStall);
  args = base;
  args.insert(args.end(), {"--deadline", "1", "indicator", "0"});
  RunningCli silent(args, out);
  for (std::string line; silent.NextLine(line);) {
  }
  EXPECT_EQ(silent.Wait(), 4);  // the action ended in an error
  const auto k = nlohmann::json::parse(testing::ReadFile(out));
  EXPECT_EQ(k["messages"], nlohmann::json({"Stopped: no answer within 1 s"}));
  EXPECT_EQ(k["errors"], nlohmann::json({"indicator: Stopped: no answer within 1 s"}));
  EXPECT_TRUE(k["tables"]["T2"]["rows"].empty());
}

// trotix-cli's text output and its errors, in one text.
CliRun RunCliWithErrors(const std::string& args) {
  return RunCli(args, "2>&1");
}

// Each action on a state it cannot work on (a day without races, the archive off or unusable,
// a failed sign-in) ends with its exit status and a message that says why, never with a crash.
TEST(CliEmptyState, EveryActionEndsWithAMessageAndItsExitStatus) {
  enum class State { kNoArchive, kCorruptArchive, kNewerArchive, kForeignFile, kSignInFailed };
  struct Case {
    std::string action;
    int status;           // with the archive off, on a day without races
    std::string because;  // what the output says then
    bool archiveAction;   // run again with each unusable archive file
  };
  const std::string none = "";
  const Case cases[] = {
      {"today 0", 4, "row 0 of RT does not exist (0 rows)", false},
      {"all 0", 4, "row 0 of MM does not exist (0 rows)", false},
      {"zorvat 0", 4, "row 0 of NX does not exist (0 rows)", false},
      {"indicator 0", 4, "row 0 of T1 does not exist (0 rows)", false},
      {"results 01.12.2026", 4, "results: No Information for 01.12.2026", false},
      {"link 0", 4, "row 0 of REZ does not exist (0 rows)", false},
      {"add 0", 4, "row 0 of TAB does not exist (0 rows)", false},
      {"select 0", 4, "row 0 of REP does not exist (0 rows)", false},
      {"delete", 4, "delete: no report row is selected", false},
      {"clear", 0, none, false},  // the report is as asked: empty
      {"save", 4, "save: the report is empty, nothing written", false},
      {"csv", 4, "csv: the report is empty, nothing written", false},
      {"real-odds off", 0, none, false},
      {"best-rank", 4, "best-rank: no race in today's card", false},
      {"best-recoming", 4, "best-recoming: no race in today's card", false},
      {"tv", 4, "tv: the button is disabled", false},
      {"market", 4, "market: the button is disabled", false},
      {"settle", 4, "settle needs the archive", true},
      {"demo-history 2", 4, "demo-history needs --demo and the archive", true},
      {"proof", 4, "proof needs the archive", true},
      {"proof 01.12.2026 02.12.2026", 4, "proof needs the archive", true},
      {"picks 'Best Rank'", 4, "picks needs the archive", true},
      {"backtest 01.12.2026 02.12.2026", 4, "backtest needs the archive", true},
  };
  testing::FixtureServer emptyDay, rejecting;
  for (testing::FixtureServer* vendor : {&emptyDay, &rejecting})
    vendor->Set("/refresh/trotix3.8.txt", "ok");
  emptyDay.Set("/login/trotix.php", "");
  rejecting.Set("/login/trotix.php", "Fail...");

  const auto prepare = [](State state, const std::filesystem::path& file) {
    if (state == State::kCorruptArchive) {
      std::ofstream(file, std::ios::binary) << std::string(4096, '\x33');
    } else if (state == State::kNewerArchive) {
      SQLite::Database db(file, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
      // Far ahead of this build, whatever versions come.
      db.exec(
          "CREATE TABLE schema_version (version INTEGER); INSERT INTO schema_version VALUES "
          "(1000)");
    } else if (state == State::kForeignFile) {
      SQLite::Database db(file, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
      db.exec("CREATE TABLE accounts (name TEXT)");
    }
  };
  // The states of one action run side by side: each run mostly waits.
  for (const Case& c : cases) {
    struct Run {
      State state;
      std::unique_ptr<testing::TempFolder> dir;
      std::future<CliRun> result;
    };
    std::vector<Run> runs;
    for (const State state : {State::kNoArchive, State::kCorruptArchive, State::kNewerArchive,
                              State::kForeignFile, State::kSignInFailed}) {
      const bool unusableFile = state != State::kNoArchive && state != State::kSignInFailed;
      if (unusableFile && !c.archiveAction && state != State::kCorruptArchive) continue;
      auto dir = std::make_unique<testing::TempFolder>();
      prepare(state, dir->path() / kArchiveFileName);
      const bool rejected = state == State::kSignInFailed;
      const std::string vendor = (rejected ? rejecting : emptyDay).Base();
      // A failed sign-in comes before the action: "real-odds" needs one, the archive's reports
      // alone do not.
      const std::string args = "--data-server " + vendor + " --web-site " + vendor +
                               " --login a --password b" + " --today 09.12.2026 --dir " +
                               dir->path().string() +
                               (state == State::kNoArchive ? " --no-archive " : " ") +
                               (rejected ? "real-odds on " + c.action : c.action);
      runs.push_back({state, std::move(dir),
                      std::async(std::launch::async, [args] { return RunCliWithErrors(args); })});
    }
    for (Run& r : runs) {
      const CliRun run = r.result.get();
      const auto file = r.dir->path() / kArchiveFileName;
      const std::string label =
          c.action + " (state " + std::to_string(int(r.state)) + ")\n" + run.out;
      if (r.state == State::kSignInFailed) {
        EXPECT_EQ(run.status, 3) << label;
        EXPECT_NE(run.out.find("message: Autorization Failed!"), std::string::npos) << label;
        EXPECT_NE(run.out.find("not run without a sign-in: real-odds, " +
                               c.action.substr(0, c.action.find(' '))),
                  std::string::npos)
            << label;
        continue;
      }
      // An unusable file is said and fails the run; the action then says what it says without
      // the archive.
      const bool unusableFile = r.state != State::kNoArchive;
      EXPECT_EQ(run.status, unusableFile ? 4 : c.status) << label;
      if (!c.because.empty()) {
        EXPECT_NE(run.out.find(c.because), std::string::npos) << label;
      }
      if (unusableFile) {
        EXPECT_NE(run.out.find("the archive " + file.string()), std::string::npos) << label;
      }
    }
  }
}

// Ctrl+C while the sign-in waits on a silent server: the actions after it never run, and the
// run ends as interrupted, a back-test included.
TEST(CliEmptyState, CtrlCBeforeTheActionsRan) {
  vendorsim::SimOptions options;
  options.date = {2026, 12, 9};
  options.races = 2;
  vendorsim::VendorSim sim(options);
  sim.Start();
  sim.SetFault("/login/*", vendorsim::FaultMode::kStall);
  testing::TempFolder dir;
  for (const char* last : {"backtest", "proof"}) {
    std::vector<std::string> args = {
        "--data-server", sim.BaseUrl(),       "--web-site", sim.BaseUrl(), "--login",
        "demo",          "--password",        "demo",       "--today",     "09.12.2026",
        "--dir",         dir.path().string(), "all",        "0",           last};
    if (std::string(last) == "backtest") args.insert(args.end(), {"01.12.2026", "09.12.2026"});
    RunningCli cli(args, dir.path() / "out.txt");
    ASSERT_TRUE(cli.started());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    cli.Interrupt();
    std::vector<std::string> errors;
    for (std::string line; cli.NextLine(line);) errors.push_back(line);
    EXPECT_EQ(cli.Wait(), 130) << last;
    EXPECT_NE(std::find(errors.begin(), errors.end(), "error: sign-in: cancelled"), errors.end())
        << last;
  }
}

unsigned ModeOf(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The password from a file, from TROTIX_PASSWORD (the option wins over it), never asked for
// without a terminal; a file that cannot be read is a bad argument.
TEST(CliFilesAndSecrets, PasswordFromAFileOrTheVariable) {
  vendorsim::SimOptions options;
  options.date = {2026, 12, 9};
  options.races = 2;
  vendorsim::VendorSim sim(options);
  sim.Start();
  testing::TempFolder dir;
  std::ofstream(dir.path() / "right", std::ios::binary) << "demo\n";
  std::ofstream(dir.path() / "wrong", std::ios::binary) << "demo2\n";
  const std::string base = "--data-server " + sim.BaseUrl() + " --web-site " + sim.BaseUrl() +
                           " --today 09.12.2026 --no-archive --json --dir " + dir.path().string() +
                           " --login demo";
  struct Case {
    const char* name;
    std::string variable, options;
    int status;
  };
  const Case cases[] = {
      {"file", "", " --password-file " + (dir.path() / "right").string(), 0},
      {"file with a wrong password", "", " --password-file " + (dir.path() / "wrong").string(), 3},
      {"missing file", "", " --password-file " + (dir.path() / "none").string(), 2},
      {"file and option", "", " --password demo --password-file " + (dir.path() / "right").string(),
       2},
      {"variable", "demo", "", 0},
      {"file over the variable", "demo2", " --password-file " + (dir.path() / "right").string(), 0},
      {"option over the variable", "demo2", " --password demo", 0},
      {"no password and no terminal", "", " < /dev/null", 3},
  };
  for (const Case& c : cases) {
    const CliRun run =
        RunCli(base + c.options, "2>/dev/null",
               c.variable.empty() ? "-u TROTIX_PASSWORD" : "TROTIX_PASSWORD=" + c.variable);
    EXPECT_EQ(run.status, c.status) << c.name;
    if (c.status != 2) {
      EXPECT_EQ(Json(run)["signedIn"], c.status == 0) << c.name;
    }
  }
}

// What a run writes into the data folder is its owner's alone, whatever the process's mask.
TEST(CliFilesAndSecrets, DataFilesAreOwnerOnly) {
  testing::TempFolder dir;
  const CliRun run = RunCli("--demo --today 09.12.2026 --remember --dir " + dir.path().string() +
                            " all 4 add 0 save csv");
  ASSERT_EQ(run.status, 0) << run.out;
  for (const char* name : {kDemoArchiveFileName, "tx.log", "report.html", "report.csv"})
    EXPECT_EQ(ModeOf(dir.path() / name), 0600u) << name;
}

// An archive in a read-only folder, or a read-only file, still serves the figures, the picks and
// the replay, and says that nothing is recorded; what needs to write says it cannot. chmod stands
// for another user's file (the archive goes by the mode bits as well, as the superuser may write
// anyway).
TEST(CliArchive, ReadOnlyArchiveServesProofPicksAndReplay) {
  testing::TempFolder dir;
  const std::string at = " --demo --json --dir " + dir.path().string() + " ";
  const CliRun live = RunCli("--today 09.12.2026" + at + "best-rank settle");
  ASSERT_EQ(live.status, 0) << live.out.substr(0, 400);
  const auto file = dir.path() / kDemoArchiveFileName;
  for (const bool folder : {true, false}) {
    ::chmod((folder ? dir.path() : file).c_str(), folder ? 0555 : 0444);
    const std::string before = testing::ReadFile(file);
    const std::string note =
        "the archive " + file.string() + " is read-only: it is read, nothing is recorded";
    const CliRun replay = RunCli("--archive-day 09.12.2026" + at + "all 4");
    EXPECT_EQ(replay.status, 0) << replay.out.substr(0, 400);
    EXPECT_EQ(Json(replay)["errors"], nlohmann::json({note}));
    EXPECT_GT(Json(replay)["tables"]["R"]["rows"].size(), 0u);
    const CliRun picks = RunCliWithErrors(at + "picks 'Best Rank'");
    EXPECT_EQ(picks.status, 0) << picks.out.substr(0, 400);
    EXPECT_NE(picks.out.find("error: " + note), std::string::npos);
    EXPECT_NE(picks.out.find("\"method\": \"Best Rank\""), std::string::npos);
    const CliRun proof = RunCliWithErrors(at + "proof");
    EXPECT_EQ(proof.status, 0) << proof.out.substr(0, 400);
    EXPECT_NE(proof.out.find("\"bets\""), std::string::npos);
    const CliRun backtest = RunCliWithErrors(at + "backtest 09.12.2026 09.12.2026");
    EXPECT_EQ(backtest.status, 4);
    EXPECT_NE(backtest.out.find("backtest: the archive is read-only"), std::string::npos);
    EXPECT_EQ(testing::ReadFile(file), before) << "nothing is written";
    ::chmod(dir.path().c_str(), 0700);
    ::chmod(file.c_str(), 0600);
  }
}

// The day's replay from the archive prints what the live day printed.
TEST(CliArchive, ReplayedDemoDayPrintsWhatTheLiveDayPrinted) {
  testing::TempFolder dir;
  const std::string at = " --json --dir " + dir.path().string() + " ";
  for (const char* actions : {"all 4", "best-rank", "results"}) {
    const CliRun live = RunCli("--demo --today 09.12.2026" + at + actions);
    const CliRun replay = RunCli("--demo --archive-day 09.12.2026" + at + actions);
    ASSERT_EQ(live.status, 0) << actions;
    ASSERT_EQ(replay.status, 0) << actions;
    EXPECT_EQ(replay.out, live.out) << actions;
    EXPECT_TRUE(Json(live)["errors"].empty()) << live.out;
  }
  // Only the replay that made picks is a back-test run; its picks are apart from the live ones.
  SQLite::Database db(dir.path() / kDemoArchiveFileName);
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM runs").getInt(), 1);
  const auto made = [&](const char* source) {
    return db
        .execAndGet(std::string("SELECT count(*) FROM ledger WHERE kind = 'made' AND source = '") +
                    source + "'")
        .getInt();
  };
  EXPECT_GT(made("live"), 0);
  EXPECT_EQ(made("live"), made("backtest"));
  EXPECT_EQ(RunCli("--demo --archive-day 01.12.2026" + at + "all 4").status, 3);
  EXPECT_EQ(RunCli("--archive-day 09.12.2026" + at + "all 4").status, 3)
      << "the demo's days are not in the account's archive";
}

// Day D of the history is the day `--today D` serves, and every pick of it is settled.
TEST(CliArchive, DemoHistoryDaysAreTheServedDaysSettled) {
  testing::TempFolder dir;
  const std::string at = " --json --dir " + dir.path().string() + " ";
  const CliRun history = RunCli("--demo --today 10.12.2026" + at + "demo-history 2");
  ASSERT_EQ(history.status, 0);
  const auto j = Json(history);
  ASSERT_EQ(j["history"].size(), 2u);
  EXPECT_EQ(j["history"][0]["day"], "08.12.2026");
  EXPECT_EQ(j["history"][1]["day"], "09.12.2026");
  std::set<std::string> days;
  for (const auto& pick : j["picks"]) {
    days.insert(pick["day"].get<std::string>());
    EXPECT_NE(pick["result"], "unsettled") << pick.dump();
    EXPECT_EQ(pick["source"], "live");
  }
  EXPECT_EQ(days, (std::set<std::string>{"08.12.2026", "09.12.2026"}));
  EXPECT_EQ(j["history"][1]["settlement"]["settled"], j["history"][1]["picks"]);

  const CliRun replayed = RunCli("--demo --archive-day 09.12.2026" + at + "all 4");
  const CliRun served = RunCli("--demo --today 09.12.2026 --no-archive" + at + "all 4");
  EXPECT_EQ(replayed.out, served.out);

  const CliRun settle = RunCli("--demo --today 10.12.2026" + at + "settle");
  EXPECT_EQ(Json(settle)["settlement"]["picks"], 0);
  EXPECT_EQ(Json(settle)["messages"], nlohmann::json({"No picks to settle"}));
  EXPECT_EQ(Json(settle)["picks"].size(), j["picks"].size());
}

// Ctrl+C stops a demo history between days; the days built stay in the archive.
TEST(CliArchive, DemoHistoryStopsBetweenDaysOnCtrlC) {
  testing::TempFolder dir;
  const auto out = dir.path() / "out.json";
  RunningCli cli({"--demo", "--today", "10.12.2026", "--json", "--dir", dir.path().string(),
                  "demo-history", "30"},
                 out);
  ASSERT_TRUE(cli.started());
  std::string line;
  ASSERT_TRUE(cli.NextLine(line));
  EXPECT_EQ(line.rfind("demo-history 1/30 10.11.2026", 0), 0u) << line;
  cli.Interrupt();
  while (cli.NextLine(line)) {
  }
  EXPECT_EQ(cli.Wait(), 130);
  const auto j = nlohmann::json::parse(testing::ReadFile(out));
  const std::size_t built = j["history"].size();
  EXPECT_GE(built, 1u);
  EXPECT_LT(built, 30u);
  EXPECT_EQ(j["errors"], nlohmann::json({"demo-history: cancelled"}));
  std::set<std::string> days;
  for (const auto& pick : j["picks"]) days.insert(pick["day"].get<std::string>());
  EXPECT_EQ(days.size(), built);
}

// proof, backtest and picks read the archive alone: no server is started and no day is signed
// in to; the back-test gives the live days' figures, and a method's picks add up to its profit.
TEST(CliArchive, ProofBacktestAndPicksReadOnlyTheArchive) {
  testing::TempFolder dir;
  const std::string at = " --demo --json --dir " + dir.path().string() + " ";
  ASSERT_EQ(RunCli("--today 10.12.2026" + at + "demo-history 2").status, 0);
  EXPECT_EQ(RunCli(at + "backtest 08.12.2026").status, 2);
  EXPECT_EQ(RunCli(at + "picks").status, 2);

  const CliRun backtest = RunCli(at + "backtest 01.12.2026 09.12.2026");
  ASSERT_EQ(backtest.status, 0) << backtest.out;
  const auto run = Json(backtest);
  ASSERT_EQ(run["days"].size(), 2u);
  for (const auto& day : run["days"]) {
    EXPECT_GT(day["picks"], 0);
    EXPECT_EQ(day["settled"], day["picks"]) << day.dump();
    EXPECT_TRUE(day["fromRealOdds"].get<bool>());
  }

  const auto live = Json(RunCli(at + "proof"));
  const auto replayed = Json(RunCli(at + "--source backtest proof 08.12.2026 09.12.2026"));
  EXPECT_EQ(live["source"], "live");
  EXPECT_EQ(replayed["source"], "backtest");
  EXPECT_EQ(replayed["run"], run["run"]);
  ASSERT_EQ(live["methods"].size(), 2u);
  ASSERT_EQ(replayed["methods"].size(), 2u);
  for (std::size_t m = 0; m < 2; ++m) {
    const auto& f = live["methods"][m];
    for (const char* key : {"method",
                            "bets",
                            "winners",
                            "placed",
                            "void",
                            "strikeRate",
                            "wilsonLow",
                            "wilsonHigh",
                            "profitSP",
                            "roiSP",
                            "pricedBets",
                            "profitPrice",
                            "roiPrice",
                            "aE",
                            "longestLosingRun",
                            "maxDrawdown",
                            "luckOneIn",
                            "curve",
                            "luckExact",
                            "archie",
                            "archieP",
                            "expectedLongestLosingRun",
                            "profitSPWithoutTop",
                            "profitPriceWithoutTop",
                            "topShareOfProfit"})
      EXPECT_TRUE(f.contains(key)) << key;
    EXPECT_TRUE(f["luckExact"].get<bool>());
    EXPECT_LE(f["profitSPWithoutTop"].get<double>(), f["profitSP"].get<double>());
    EXPECT_GT(f["bets"], 0);
    EXPECT_LE(f["wilsonLow"].get<double>(), f["strikeRate"].get<double>());
    EXPECT_LE(f["strikeRate"].get<double>(), f["wilsonHigh"].get<double>());
    EXPECT_LE(f["wilsonHigh"].get<double>(), 1.0);
    EXPECT_EQ(f["curve"].size(), f["bets"].get<std::size_t>());
    EXPECT_DOUBLE_EQ(f["curve"].back().get<double>(), f["profitSP"].get<double>());
    for (const char* key : {"method", "bets", "winners", "profitSP", "profitPrice", "luckOneIn"})
      EXPECT_EQ(replayed["methods"][m][key], f[key]) << key;
  }

  // Every breakdown's groups add up to the whole, the class and field size from the stored cards.
  for (const char* by : {"band", "course", "month", "class", "runners"}) {
    const auto split = Json(RunCli(at + "--by " + by + " proof"));
    EXPECT_EQ(split["by"], by);
    EXPECT_EQ(split["source"], "live");
    std::map<std::string, int> bets;
    for (const auto& g : split["groups"]) {
      EXPECT_NE(g["group"], "unknown") << by;
      for (const auto& f : g["methods"]) bets[f["method"]] += f["bets"].get<int>();
    }
    for (const auto& f : live["methods"]) EXPECT_EQ(bets[f["method"]], f["bets"]) << by;
  }

  const std::string method = live["methods"][0]["method"];
  const CliRun listed = RunCli(at + "picks '" + method + "'");
  ASSERT_EQ(listed.status, 0);
  const auto picks = Json(listed);
  double profit = 0;
  std::size_t settled = 0;
  for (const auto& p : picks) {
    for (const char* key :
         {"date", "time", "course", "runner", "method", "price", "result", "sp", "profit"})
      EXPECT_TRUE(p.contains(key)) << key;
    EXPECT_EQ(p["method"], method);
    const std::string result = p["result"];
    EXPECT_TRUE(result == "won" || result == "placed" || result == "unplaced") << result;
    settled += 1;
    profit += p["profit"].get<double>();
  }
  EXPECT_EQ(settled, live["methods"][0]["bets"].get<std::size_t>());
  EXPECT_NEAR(profit, live["methods"][0]["profitSP"].get<double>(), 1e-6);

  const CliRun table = RunCli("--demo --dir " + dir.path().string() + " proof");
  EXPECT_EQ(table.status, 0);
  EXPECT_NE(table.out.find("PROOF live (2 rows)"), std::string::npos) << table.out;
  // Nothing signed in since: the archive holds the history's two days and the day it was built.
  EXPECT_EQ(SqliteArchive(dir.path() / kDemoArchiveFileName).Days().size(), 3u);
}

// A corrupt or unreadable archive is said once; the run goes on without it and the file stays.
TEST(CliArchive, UnusableArchiveIsReportedAndLeftAlone) {
  for (const bool directory : {false, true}) {
    testing::TempFolder dir;
    const auto file = dir.path() / "trotix-demo.db";
    if (directory) {
      std::filesystem::create_directory(file);
    } else {
      std::ofstream(file, std::ios::binary) << std::string(4096, '\x33');
    }
    const std::string before = directory ? "" : testing::ReadFile(file);
    const std::string at = " --json --dir " + dir.path().string() + " ";
    const CliRun run = RunCli("--demo --today 09.12.2026" + at + "all 4 add 0");
    ASSERT_EQ(run.status, 4) << "a file that cannot be written";
    const auto j = Json(run);
    ASSERT_EQ(j["errors"].size(), 1u);
    EXPECT_NE(j["errors"][0].get<std::string>().find(file.string()), std::string::npos);
    EXPECT_GT(j["tables"]["TAB"]["rows"].size(), 0u);
    EXPECT_EQ(j["messages"], nlohmann::json({"Add to Report"}));
    if (!directory) {
      EXPECT_EQ(testing::ReadFile(file), before);
    }
    EXPECT_EQ(RunCli("--demo --archive-day 09.12.2026" + at).status, 3);
  }
}

// Two programs on one data folder at once both keep their days.
TEST(CliArchive, TwoProgramsShareOneArchive) {
  testing::TempFolder dir;
  const std::string at = " --json --dir " + dir.path().string() + " ";
  auto first = std::async(std::launch::async,
                          [&] { return RunCli("--demo --today 07.12.2026" + at + "best-rank"); });
  const CliRun second = RunCli("--demo --today 08.12.2026" + at + "best-rank");
  const CliRun one = first.get();
  for (const CliRun* run : {&one, &second}) {
    ASSERT_EQ(run->status, 0) << run->out.substr(0, 400);
    EXPECT_TRUE(Json(*run)["errors"].empty()) << Json(*run)["errors"].dump();
    EXPECT_TRUE(Json(*run)["messages"].empty()) << Json(*run)["messages"].dump();
  }
  SqliteArchive store(dir.path() / kDemoArchiveFileName);
  EXPECT_EQ(store.Days(), (std::vector<Date>{{2026, 12, 7}, {2026, 12, 8}}));
  EXPECT_GT(store.Picks().size(), 0u);
}

pid_t Spawn(const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// A kill -9 in the middle of recording: the file passes the integrity check and holds every
// command completed before, each whole; the command under way is gone as a whole.
TEST(CliArchive, KillDuringRecordingKeepsEveryEarlierCommand) {
  testing::TempFolder dir;
  constexpr Date kDay{2026, 12, 9};
  vendorsim::SimOptions options;
  options.date = kDay;
  options.races = 12;
  options.latencyMinMs = options.latencyMaxMs = 20;
  vendorsim::VendorSim sim(options);
  sim.Start();
  const std::string base = sim.BaseUrl();
  std::vector<std::string> args = {TROTIX_CLI,
                                   "--data-server",
                                   base,
                                   "--web-site",
                                   base,
                                   "--exchange-site",
                                   base,
                                   "--login",
                                   "demo",
                                   "--password",
                                   "demo",
                                   "--today",
                                   "09.12.2026",
                                   "--dir",
                                   dir.path().string(),
                                   "--max-connections",
                                   "2"};
  for (int k = 0; k < options.races; ++k) {
    args.push_back("all");
    args.push_back(std::to_string(k));
  }
  const auto file = dir.path() / kArchiveFileName;
  const pid_t pid = Spawn(args);
  ASSERT_GT(pid, 0);
  // Killed once two races' pages are stored.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (;;) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!std::filesystem::exists(file)) continue;
    SQLite::Database db(file, SQLite::OPEN_READONLY, 5000);
    if (!db.tableExists("answer_packs")) continue;
    // Each race is a command of its own: its runner pages are one pack.
    const int races =
        db.execAndGet("SELECT count(*) FROM answer_packs WHERE path LIKE '/betting/%'").getInt();
    if (races >= 2) break;
  }
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before it could be killed";

  EXPECT_EQ(SQLite::Database(file).execAndGet("PRAGMA integrity_check").getString(), "ok");
  SqliteArchive store(file);
  const auto day = store.LoadDay(kDay);
  ASSERT_TRUE(day);
  std::set<RequestKey> stored;
  for (const auto& a : day->answers) stored.insert(a.key);
  // The replay signs in to the whole day.
  ArchiveHttpClient replay(day->answers, day->hosts,
                           [&store](long long id) { return store.Body(id); });
  RecordingBrowser browser;
  RecordingMessages messages;
  SilentProgress progress;
  FixedClock clock(kDay);
  Session session({day->hosts, dir.path(), 8},
                  {replay, replay, browser, messages, progress, clock, nullptr});
  session.Start();
  ASSERT_EQ(session.SignIn({"", ""}), SignInResult::SignedIn);
  EXPECT_EQ(session.ws().MM.RowCount(), options.races);
  EXPECT_GT(session.ws().T1.RowCount(), 0);
  EXPECT_TRUE(messages.shown.empty());
  // Each race's pages are all there or none; the races kept come first.
  int whole = 0;
  bool gap = false;
  for (int k = 0; k < options.races; ++k) {
    const auto pages = RealOddsPages(session.ws(), k, session.urls());
    if (pages.empty()) continue;
    std::size_t kept = 0;
    for (const auto& page : pages) kept += stored.count(RequestKeyOf(page, day->hosts, false));
    EXPECT_TRUE(kept == 0 || kept == pages.size())
        << "race " << k << ": " << kept << " of " << pages.size();
    if (kept == 0) gap = true;
    if (kept == pages.size()) {
      EXPECT_FALSE(gap) << "race " << k << " kept after a race that was not";
      ++whole;
    }
  }
  EXPECT_GE(whole, 2);
  EXPECT_TRUE(gap) << "the command under way was lost";
}

}  // namespace
}  // namespace trotix
