// `trotix-cli system …` run as a program on a demo archive: bad files refused before anything
// runs, save, list, show, test (whole and split), run live, a new version, delete.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "support/shell_run.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

using Outcome = trotix::testing::ShellRun;

// Standard output alone (`err` false) or with standard error.
Outcome Cli(const std::string& args, bool err = false) {
  return trotix::testing::RunShell(std::string(TROTIX_CLI) + " " + args +
                                   (err ? " 2>&1" : " 2>/dev/null"));
}

TEST(SystemCli, SaveListShowTestRunAndDelete) {
  testing::TempFolder dir;
  const std::string at = " --dir " + dir.path().string() + " ";
  ASSERT_EQ(Cli("--demo --today 10.12.2026" + at + "demo-history 2").status, 0);
  const auto file = [&](const char* name, const char* text) {
    const auto path = dir.path() / name;
    std::ofstream(path) << text;
    return path.string();
  };
  const std::string leader = file("leader.json", R"({"select": {"top": 1}})");

  struct Bad {
    const char* name;
    std::string path;
    const char* said;
  };
  const Bad bad[] = {
      {"a key misspelt", file("typo.json", R"({"selcet": {"top": 1}})"), "unknown key"},
      {"not JSON", file("broken.json", "{"), "not JSON"},
      {"no such file", (dir.path() / "none.json").string(), "cannot read"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    const Outcome o = Cli("--demo" + at + "system save Mine " + b.path, true);
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.out.find(b.said), std::string::npos) << o.out;
  }
  EXPECT_EQ(Cli("--demo" + at + "system").status, 2);

  ASSERT_EQ(Cli("--demo" + at + "system save Mine " + leader).status, 0);
  Outcome o = Cli("--demo --json" + at + "system list");
  ASSERT_EQ(o.status, 0);
  EXPECT_EQ(nlohmann::json::parse(o.out),
            nlohmann::json::parse(R"([{"name": "Mine", "version": 1, "livePicks": 0}])"));
  o = Cli("--demo" + at + "system show Mine");
  ASSERT_EQ(o.status, 0);
  EXPECT_EQ(nlohmann::json::parse(o.out)["select"]["top"], 1);
  EXPECT_EQ(Cli("--demo" + at + "system show Yours").status, 4);

  // Summa's leader over the stored days is Best Recoming, figure for figure.
  o = Cli("--demo --today 10.12.2026 --json" + at + "system test Mine");
  ASSERT_EQ(o.status, 0) << o.out;
  const auto test = nlohmann::json::parse(o.out);
  EXPECT_EQ(test["source"], "test");
  const Outcome proof = Cli("--demo --today 10.12.2026 --json" + at + "proof");
  const auto live = nlohmann::json::parse(proof.out);
  nlohmann::json recoming;
  for (const auto& m : live["methods"])
    if (m["method"] == "Best Recoming") recoming = m;
  ASSERT_FALSE(recoming.is_null());
  for (const char* key : {"bets", "winners", "void", "profitSP", "profitPrice", "luckOneIn"})
    EXPECT_EQ(test["methods"][0][key], recoming[key]) << key;
  EXPECT_EQ(test["methods"][0]["method"], "Mine");

  o = Cli("--demo --today 10.12.2026 --json --split 09.12.2026" + at + "system test Mine");
  ASSERT_EQ(o.status, 0) << o.out;
  const auto split = nlohmann::json::parse(o.out);
  EXPECT_EQ(split["inSample"]["methods"][0]["bets"].get<int>() +
                split["outOfSample"]["methods"][0]["bets"].get<int>(),
            recoming["bets"].get<int>());
  EXPECT_TRUE(split["warning"].is_string());
  EXPECT_EQ(Cli("--demo --split 31.02.2026" + at + "system test Mine").status, 2);

  // Live on the next day; then a changed rule is version 2 and version 1 keeps its record.
  o = Cli("--demo --today 10.12.2026 --json" + at + "real-odds off system run Mine");
  ASSERT_EQ(o.status, 0);
  const auto run = nlohmann::json::parse(o.out);
  const auto& rows = run["tables"]["REP"]["rows"];
  ASSERT_FALSE(rows.empty());
  for (const auto& row : rows) EXPECT_EQ(row[4]["text"], "Mine");
  int ledgered = 0;
  for (const auto& pick : run["picks"])
    if (pick["system"] == "Mine" && pick["day"] == "10.12.2026" && !pick["late"]) ++ledgered;
  EXPECT_EQ(ledgered, static_cast<int>(rows.size()));
  o = Cli("--demo --json" + at + "system save Mine " +
          file("bf.json", R"({"weights": {"bf": 2}})"));
  ASSERT_EQ(o.status, 0);
  EXPECT_EQ(nlohmann::json::parse(o.out)["savedAs"], "Mine v2");
  const auto list = nlohmann::json::parse(Cli("--demo --json" + at + "system list").out);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_GT(list[0]["livePicks"].get<int>(), 0);
  EXPECT_EQ(list[1]["version"], 2);

  EXPECT_EQ(Cli("--demo" + at + "system delete Mine").status, 0);
  EXPECT_EQ(nlohmann::json::parse(Cli("--demo --json" + at + "system list").out).size(), 0u);
}

}  // namespace
}  // namespace trotix
