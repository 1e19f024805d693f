// trotix-cli run as a program against its embedded demo server.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/fixture_server.h"
#include "support/loopback_server.h"
#include "support/temp_folder.h"

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

TEST(Cli, TextOutputPrintsTheTablesTheLastActionChanged) {
  testing::TempFolder dir;
  const CliRun run =
      RunCli("--demo --today 04.12.2026 --dir " + dir.path().string() + " results 01.12.2026");
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("REZ ("), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("RT ("), std::string::npos) << run.out;
}

}  // namespace
}  // namespace trotix
