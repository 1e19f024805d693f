// trotix-cli run as a program against its embedded demo server.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/fixture_server.h"
#include "support/loopback_server.h"
#include "support/temp_folder.h"
#include "vendorsim/vendor_sim.h"

extern char** environ;

namespace trotix {
namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

CliRun RunCli(const std::string& args) {
  const std::string command = std::string(TROTIX_CLI) + " " + args + " 2>/dev/null";
  CliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 65536> buf;
  for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0;)
    run.out.append(buf.data(), n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
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
  // The Today analysis leaves the browser buttons disabled, so "tv" cannot be clicked.
  EXPECT_EQ(j["errors"], nlohmann::json({"tv: the button is disabled"}));
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

}  // namespace
}  // namespace trotix
