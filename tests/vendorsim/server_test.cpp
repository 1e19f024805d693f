#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "net/vendor_urls.h"
#include "text/fields.h"
#include "text/strings.h"
#include "vendorsim/formats.h"
#include "vendorsim/runner_page_reader.h"
#include "vendorsim/vendor_sim.h"
#include "vendorsim/zorvat_files.h"

namespace trotix::vendorsim {
namespace {

const Date kDate{2024, 3, 5};

SimOptions Options(uint64_t seed = 4) {
  SimOptions o;
  o.seed = seed;
  o.date = kDate;
  o.races = 30;
  o.threads = 8;
  return o;
}

// Path and query of an address on the simulator.
std::string Target(const VendorSim& sim, const std::string& url) {
  return url.substr(sim.BaseUrl().size());
}

httplib::Result Fetch(const VendorSim& sim, const std::string& target) {
  httplib::Client cli("127.0.0.1", sim.Port());
  cli.set_read_timeout(10, 0);
  return cli.Get(target.c_str());
}

// A raw connection to the server; -1 when it cannot be made.
int Connect(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// Everything the server sends for one request on a fresh connection, until it closes the
// connection or `waitMs` pass without a byte.
std::string RawGet(int port, const std::string& target, int waitMs = 5000) {
  const int fd = Connect(port);
  if (fd < 0) return "connect failed";
  const std::string req = "GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
  send(fd, req.data(), req.size(), MSG_NOSIGNAL);
  std::string out;
  char buf[65536];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, waitMs) <= 0) break;
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  return out;
}

class Server : public ::testing::Test {
 protected:
  void SetUp() override {
    SimOptions o = Options();
    o.accounts.push_back({"anna", "p&ss word:1#"});
    sim = std::make_unique<VendorSim>(o);
    sim->Start();
    urls = std::make_unique<VendorUrls>(sim->SimHosts());
  }
  std::string Body(const std::string& url, int expectStatus = 200) {
    auto res = Fetch(*sim, Target(*sim, url));
    EXPECT_TRUE(res) << url;
    if (!res) return "";
    EXPECT_EQ(res->status, expectStatus) << url;
    return res->body;
  }
  std::unique_ptr<VendorSim> sim;
  std::unique_ptr<VendorUrls> urls;
};

TEST_F(Server, ServesEveryFileOfTheDataServerAndTheWebSite) {
  const Day& day = sim->day();
  EXPECT_EQ(Body(urls->CourseTable()), CourseTableText());
  EXPECT_EQ(Body(urls->VersionProbe()).substr(0, 3), "3.8");
  Body(sim->BaseUrl() + "/refresh/trotix3.7.txt", 404);
  EXPECT_EQ(Body(urls->Tips()), TipsText(day));
  EXPECT_EQ(Body(urls->Moves()), MovesText(day));
  EXPECT_EQ(Body(urls->IndicatorFile("05.03.2024")), IndicatorText(day));
  Body(urls->IndicatorFile("04.03.2024"), 404);
  EXPECT_EQ(Body(urls->ProcessBase()), ProcessBaseText(4));
  EXPECT_EQ(Body(urls->ScoreBase()), ScoreBaseText(4));
  EXPECT_EQ(Body(urls->DayValues()), DayValuesText(4));
  EXPECT_FALSE(Body(urls->UpdatePage()).empty());
  Body(sim->BaseUrl() + "/no/such/file.txt", 404);
}

TEST_F(Server, SignsInKnownAccountsOnly) {
  const std::string day = DayDataText(sim->day());
  EXPECT_EQ(Body(urls->Login("demo", "demo")), day);
  // Percent-encoded values are decoded before they are compared.
  EXPECT_EQ(Body(urls->Login("anna", "p&ss word:1#")), day);
  for (const auto& [login, pass] : std::vector<std::pair<std::string, std::string>>{
           {"demo", "Demo"}, {"anna", "p&ss"}, {"", ""}, {"nobody", "demo"}}) {
    const std::string body = Body(urls->Login(login, pass));
    EXPECT_NE(body.find("Fail..."), std::string::npos) << login << ":" << pass;
    EXPECT_EQ(body.find("<zabeg>"), std::string::npos);
  }
  EXPECT_EQ(sim->Requests("/login/*"), 6);
}

TEST_F(Server, ResultsForTheServedDateAndTheDaysBefore) {
  for (int back = 0; back <= 3; ++back) {
    const std::string body = Body(urls->Results(FormatDate(AddDays(kDate, -back))));
    ASSERT_NE(body.find(')'), std::string::npos);
    EXPECT_NE(body.find("<br>"), std::string::npos);
    if (back == 1) {
      // The link of a result names a page this server shows.
      std::string rest = Trim(body.substr(body.find(')') + 1));
      const std::string link = GetField(rest.substr(0, rest.find("<br>")), 3);
      EXPECT_EQ(link.rfind(sim->BaseUrl(), 0), 0u) << link;
      EXPECT_NE(Body(link).find("<ol>"), std::string::npos);
    }
  }
  EXPECT_EQ(Body(urls->Results("01.01.2020")), "");
  EXPECT_EQ(Body(urls->Results(FormatDate(AddDays(kDate, 1)))), "");
  EXPECT_EQ(Body(urls->Results("garbage")), "");
}

TEST_F(Server, RunnerPagesForEveryIndicatorLineInBothMarkets) {
  const std::vector<std::string> lines = SplitLines(IndicatorText(sim->day()));
  ASSERT_FALSE(lines.empty());
  for (const std::string& line : lines) {
    for (int market : {4, 6}) {
      const std::string page = Body(urls->RunnerPage(GetField(line, market), GetField(line, 5)));
      EXPECT_EQ(testing::ReadRunnerPage(page).labelsFound, 4) << line;
      EXPECT_NE(page.find("\xC2\xA3"), std::string::npos);
    }
  }
  Body(urls->RunnerPage("1", "2"), 404);
  EXPECT_EQ(sim->Requests("/betting/*"), static_cast<int>(lines.size()) * 2 + 1);
}

TEST_F(Server, OverrideReplacesOnePathAndClears) {
  sim->Override("/bc/tipsters.xml", "tips are down", 500);
  EXPECT_EQ(Body(urls->Tips(), 500), "tips are down");
  EXPECT_EQ(Body(urls->Moves()), MovesText(sim->day()));
  // With a query the whole target must match; other dates still answer normally.
  sim->Override("/horse/rez.php?date=01.01.2020", "(x)\r\n1>>2>>3>>4>>5>>6>>7>>8>>9>>10>>11>><br>");
  EXPECT_NE(Body(urls->Results("01.01.2020")).find("11>><br>"), std::string::npos);
  EXPECT_EQ(Body(urls->Results("02.01.2020")), "");
  sim->Override("/zorvat/score.txt", "1A(B)>>DF>>IV>>7>>\r\n");
  EXPECT_EQ(Body(urls->ScoreBase() + "?ignored=1"), "1A(B)>>DF>>IV>>7>>\r\n");
  sim->ClearOverrides();
  EXPECT_EQ(Body(urls->Tips()), TipsText(sim->day()));
}

TEST_F(Server, PagesEchoTheQueryEscaped) {
  const std::string script = "<script src=\"x\">";  // the addresses percent-encode it
  const std::string escaped = "&lt;script src=&quot;x&quot;&gt;";
  for (const std::string& url : {urls->VideoPlayer(script), urls->MarketPage(script)}) {
    const std::string page = Body(url);
    EXPECT_EQ(page.find("<script"), std::string::npos) << url;
    EXPECT_NE(page.find(escaped), std::string::npos) << url;
  }
}

TEST(Determinism, SameSeedSameBytesOverTheWire) {
  VendorSim a(Options(11)), b(Options(11)), c(Options(12));
  a.Start();
  b.Start();
  c.Start();
  const auto body = [](VendorSim& s, const std::string& t) { return Fetch(s, t)->body; };
  const std::string login = "/login/trotix.php?login=demo&pass=demo";
  EXPECT_EQ(body(a, login), body(b, login));
  EXPECT_NE(body(a, login), body(c, login));
  const std::string line = SplitLines(IndicatorText(a.day())).front();
  const std::string page = "/betting/LoadRunnerInfoAction.do?marketId=" + GetField(line, 4) +
                           "&selectionId=" + GetField(line, 5);
  EXPECT_EQ(body(a, page), body(b, page));
  EXPECT_EQ(body(a, "/bc/move.xml"), body(b, "/bc/move.xml"));
  EXPECT_EQ(body(a, "/zorvat/score.txt"), body(b, "/zorvat/score.txt"));
}

TEST(Faults, EachModeDoesWhatItSays) {
  SimOptions o = Options();
  o.faults.push_back({"/bc/move.xml", FaultMode::kStatus500});
  VendorSim sim(o);
  sim.Start();
  const std::string moves = MovesText(sim.day());

  // 500, from the options.
  EXPECT_EQ(Fetch(sim, "/bc/move.xml")->status, 500);
  EXPECT_EQ(Fetch(sim, "/bc/tipsters.xml")->status, 200) << "other paths are untouched";

  // drop: the connection closes without a byte.
  sim.SetFault("/bc/move.xml", FaultMode::kDrop);
  EXPECT_EQ(RawGet(sim.Port(), "/bc/move.xml"), "");
  EXPECT_FALSE(Fetch(sim, "/bc/move.xml"));

  // truncate: the announced length, half of it sent.
  sim.SetFault("/bc/move.xml", FaultMode::kTruncate);
  const std::string raw = RawGet(sim.Port(), "/bc/move.xml");
  const auto headerEnd = raw.find("\r\n\r\n");
  ASSERT_NE(headerEnd, std::string::npos);
  EXPECT_NE(raw.find("Content-Length: " + std::to_string(moves.size())), std::string::npos);
  EXPECT_EQ(raw.substr(headerEnd + 4), moves.substr(0, moves.size() / 2));

  // garbage: 200 with bytes that are no feed.
  sim.SetFault("/bc/move.xml", FaultMode::kGarbage);
  auto res = Fetch(sim, "/bc/move.xml");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_NE(res->body, moves);
  EXPECT_TRUE(std::any_of(res->body.begin(), res->body.end(),
                          [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));

  // oversize: a body above 32 MiB.
  sim.SetFault("/bc/move.xml", FaultMode::kOversize);
  httplib::Client cli("127.0.0.1", sim.Port());
  size_t received = 0;
  res = cli.Get("/bc/move.xml", [&](const char*, size_t n) {
    received += n;
    return true;
  });
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_GT(received, 32u * 1024 * 1024);

  // Globs reach paths and queries.
  sim.ClearFaults();
  sim.SetFault("/betting/*", FaultMode::kStatus500);
  sim.SetFault("*rez.php?date=04.*", FaultMode::kStatus500);
  EXPECT_EQ(Fetch(sim, "/betting/LoadRunnerInfoAction.do?marketId=1&selectionId=2")->status, 500);
  EXPECT_EQ(Fetch(sim, "/horse/rez.php?date=04.03.2024")->status, 500);
  EXPECT_EQ(Fetch(sim, "/horse/rez.php?date=03.03.2024")->status, 200);
  EXPECT_EQ(Fetch(sim, "/bc/move.xml")->status, 200);
}

TEST(Faults, StalledRequestsNeverAnswerAndDoNotHoldUpStop) {
  SimOptions o = Options();
  o.faults.push_back({"/zorvat/*", FaultMode::kStall});
  auto sim = std::make_unique<VendorSim>(o);
  sim->Start();
  EXPECT_EQ(RawGet(sim->Port(), "/zorvat/dvbasa.txt", 300), "");
  // A client still waiting when the server stops.
  auto waiting = std::async(std::launch::async, [port = sim->Port()] {
    return RawGet(port, "/zorvat/score.txt", 20000);
  });
  while (sim->Requests("/zorvat/score.txt") == 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  auto stopping = std::async(std::launch::async, [&] { sim->Stop(); });
  ASSERT_EQ(stopping.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_EQ(waiting.get(), "");
}

TEST(Ports, ATakenPortIsReportedAndAFixedPortIsUsed) {
  VendorSim first(Options());
  first.Start();
  SimOptions o = Options();
  o.port = first.Port();
  VendorSim second(o);
  EXPECT_THROW(second.Start(), std::runtime_error);
  first.Stop();
  second.Start();
  EXPECT_EQ(second.Port(), o.port);
  EXPECT_EQ(second.BaseUrl(), "http://127.0.0.1:" + std::to_string(o.port));
  EXPECT_EQ(Fetch(second, "/refresh/trotix3.8.txt")->status, 200);
}

TEST(Latency, EveryAnswerWaits) {
  SimOptions o = Options();
  o.latencyMinMs = o.latencyMaxMs = 60;
  VendorSim sim(o);
  sim.Start();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Fetch(sim, "/horse/zabeg.txt")->status, 200);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(55));
}

TEST(Concurrency, ManyClientsAtOnceGetWholeAnswers) {
  VendorSim sim(Options());
  sim.Start();
  const std::vector<std::string> lines = SplitLines(IndicatorText(sim.day()));
  std::atomic<int> good{0};
  std::vector<std::thread> clients;
  for (int t = 0; t < 12; ++t) {
    clients.emplace_back([&, t] {
      httplib::Client cli("127.0.0.1", sim.Port());
      cli.set_keep_alive(true);
      for (int i = 0; i < 25; ++i) {
        const std::string& line = lines[(t * 25 + i) % lines.size()];
        const std::string target =
            "/betting/LoadRunnerInfoAction.do?marketId=" + GetField(line, 4) +
            "&selectionId=" + GetField(line, 5);
        auto res = cli.Get(target.c_str());
        if (res && res->status == 200 && testing::ReadRunnerPage(res->body).labelsFound == 4)
          ++good;
      }
    });
  }
  for (auto& c : clients) c.join();
  EXPECT_EQ(good, 12 * 25);
}

TEST(Concurrency, IdleAndSlowConnectionsLeaveRoomForOthers) {
  VendorSim sim(Options());
  sim.Start();
  // Far more connections than workers: some say nothing, some stop half way through a request,
  // some stay open after a whole one.
  const std::string partial = "GET /horse/zabeg.txt HTTP/1.1\r\nHost: x\r\n";
  const std::string whole = partial + "\r\n";
  std::vector<int> idle;
  for (int i = 0; i < 64; ++i) {
    const int fd = Connect(sim.Port());
    ASSERT_GE(fd, 0);
    idle.push_back(fd);
    if (i % 3 == 1) send(fd, partial.data(), partial.size(), MSG_NOSIGNAL);
    if (i % 3 == 2) send(fd, whole.data(), whole.size(), MSG_NOSIGNAL);
  }
  httplib::Client cli("127.0.0.1", sim.Port());
  cli.set_connection_timeout(3, 0);
  cli.set_read_timeout(3, 0);
  const auto res = cli.Get("/refresh/trotix3.8.txt");
  for (const int fd : idle) close(fd);
  ASSERT_TRUE(res) << httplib::to_string(res.error());
  EXPECT_EQ(res->status, 200);
}

// The program: its help and one run with options.
std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  char buf[4096];
  while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  pclose(p);
  return out;
}

TEST(Program, HelpNamesEveryOption) {
  const std::string help = RunCommand(std::string(VENDOR_SIM_PROGRAM) + " --help");
  for (const char* opt : {"--port", "--seed", "--date", "--races", "--account", "--latency-ms",
                          "--fault", "500", "drop", "stall", "truncate", "garbage", "oversize"})
    EXPECT_NE(help.find(opt), std::string::npos) << opt;
}

TEST(Program, ServesWithTheGivenOptionsUntilTerminated) {
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    execl(VENDOR_SIM_PROGRAM, VENDOR_SIM_PROGRAM, "--port", "0", "--seed", "3", "--date",
          "05.03.2024", "--races", "12", "--account", "eve:se:cret", "--fault",
          "/bc/move.xml=garbage", "--fault", "/bc/tipsters.xml=500", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  FILE* f = fdopen(out[0], "r");
  char line[512] = {};
  ASSERT_NE(fgets(line, sizeof line, f), nullptr);
  const std::string first = line;
  const auto at = first.find("http://127.0.0.1:");
  ASSERT_NE(at, std::string::npos) << first;
  const int port = std::stoi(first.substr(at + 17));

  httplib::Client cli("127.0.0.1", port);
  auto res = cli.Get("/login/trotix.php?login=eve&pass=se%3Acret");
  ASSERT_TRUE(res);
  std::string rest = res->body;
  int races = 0;
  while (CutPastTag(rest, "<zabeg>")) ++races;
  EXPECT_EQ(races, 12);
  EXPECT_EQ(cli.Get("/bc/tipsters.xml")->status, 500);
  EXPECT_EQ(cli.Get("/bc/move.xml")->body.find("<moves>"), std::string::npos);
  EXPECT_EQ(cli.Get("/file/tx05.03.2024.txt")->status, 200);

  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  fclose(f);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace trotix::vendorsim
