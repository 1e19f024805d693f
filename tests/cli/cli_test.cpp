// trotix-cli run as a program against its embedded demo server.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

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
  ASSERT_EQ(run.status, 0) << run.out;
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
  EXPECT_EQ(badRow.status, 0);
  EXPECT_EQ(Json(badRow)["errors"].size(), 1u);
  const CliRun version = RunCli("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "trotix-cli 3.8\n");
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
