// `trotix-cli ledger …` run as a program on a demo archive: export and verify, the README's
// Python check, one changed byte named, the digest found in the export, a row bent with SQL, and
// late picks in `proof` and `picks`.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <array>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "archive/sqlite_archive.h"
#include "support/shell_run.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

using Outcome = trotix::testing::ShellRun;

Outcome Shell(const std::string& command) {
  return trotix::testing::RunShell(command + " 2>&1");
}

Outcome Cli(const std::string& args) {
  return Shell(std::string(TROTIX_CLI) + " " + args);
}

std::vector<std::string> Lines(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file);
  for (const std::string& line : lines) out << line << '\n';
}

// The check the README gives readers, taken from the README itself.
std::filesystem::path ReadmeCheck(const std::filesystem::path& folder) {
  std::ifstream in(std::string(TROTIX_SOURCE_DIR) + "/README.md");
  std::ostringstream text;
  text << in.rdbuf();
  const std::string readme = text.str();
  const auto start = readme.find("```python\n");
  const auto end = readme.find("```", start + 10);
  if (start == std::string::npos || end == std::string::npos) return {};
  const auto file = folder / "check.py";
  std::ofstream(file) << readme.substr(start + 10, end - start - 10);
  return file;
}

TEST(LedgerCli, ExportVerifyTheReadmeCheckAndTheDigest) {
  testing::TempFolder dir;
  const std::string at = " --dir " + dir.path().string() + " ";
  ASSERT_EQ(Cli("--demo --today 09.12.2026" + at + "real-odds off best-rank settle").status, 0);
  const auto file = dir.path() / "record.jsonl";
  ASSERT_EQ(Cli("--demo" + at + "ledger export " + file.string()).status, 0);
  const auto lines = Lines(file);
  ASSERT_GT(lines.size(), 4u);

  Outcome verify = Cli("ledger verify " + file.string());  // no archive, no --demo
  EXPECT_EQ(verify.status, 0) << verify.out;
  EXPECT_NE(verify.out.find("Record: " + std::to_string(lines.size()) + " events, chain intact"),
            std::string::npos)
      << verify.out;
  EXPECT_EQ(Cli("--demo" + at + "ledger verify").status, 0);
  const auto check = ReadmeCheck(dir.path());
  ASSERT_FALSE(check.empty()) << "the README shows the check";
  const Outcome python = Shell("python3 " + check.string() + " " + file.string());
  EXPECT_EQ(python.status, 0) << python.out;
  EXPECT_NE(python.out.find("chain intact"), std::string::npos) << python.out;

  // One byte of a runner's name in the middle line.
  const std::size_t bent = lines.size() / 2;
  auto changed = lines;
  const auto name = changed[bent].find("\"runner\":\"") + 10;
  changed[bent][name] ^= 1;
  const auto bad = dir.path() / "bent.jsonl";
  WriteLines(bad, changed);
  const std::string named = "event " + std::to_string(bent + 1);
  verify = Cli("ledger verify " + bad.string());
  EXPECT_EQ(verify.status, 5) << verify.out;
  EXPECT_NE(verify.out.find("broken at " + named), std::string::npos) << verify.out;
  const Outcome pythonBad = Shell("python3 " + check.string() + " " + bad.string());
  EXPECT_NE(pythonBad.status, 0);
  EXPECT_NE(pythonBad.out.find(named + " does not match"), std::string::npos) << pythonBad.out;

  // The digest is the hash on the line of its event.
  const Outcome digest = Cli("--demo --json" + at + "ledger digest 09.12.2026");
  ASSERT_EQ(digest.status, 0) << digest.out;
  const auto d = nlohmann::json::parse(digest.out);
  const auto line = nlohmann::json::parse(lines.at(d["event"].get<std::size_t>() - 1));
  EXPECT_EQ(line["hash"], d["hash"]);
  EXPECT_EQ(line["event"]["seq"], d["event"]);
  EXPECT_EQ(Cli("--demo" + at + "ledger digest 10.12.2026").status, 4) << "no pick that day";
  EXPECT_EQ(Cli("--demo" + at + "ledger digest tomorrow").status, 2);
}

TEST(LedgerCli, ARowBentWithSqlIsNamedAndLatePicksStayOutOfTheFigures) {
  testing::TempFolder dir;
  const std::string at = " --json --dir " + dir.path().string() + " ";
  // A pick with the day's results on screen is late; one before them is live.
  ASSERT_EQ(Cli("--demo --today 09.12.2026" + at + "all 0 add 0 results 09.12.2026 add 1").status,
            0);
  ASSERT_EQ(Cli("--demo --today 09.12.2026" + at + "settle").status, 0);
  Outcome proof = Cli("--demo" + at + "proof");
  ASSERT_EQ(proof.status, 0) << proof.out;
  const auto methods = nlohmann::json::parse(proof.out)["methods"];
  ASSERT_EQ(methods.size(), 1u) << proof.out;
  EXPECT_EQ(methods[0]["bets"], 1);
  EXPECT_EQ(methods[0]["late"], 1);
  EXPECT_EQ(methods[0]["withdrawn"], 0);
  const Outcome picks = Cli("--demo" + at + "picks MySystem");
  ASSERT_EQ(picks.status, 0) << picks.out;
  std::vector<std::string> results;
  for (const auto& p : nlohmann::json::parse(picks.out)) results.push_back(p["result"]);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(std::count(results.begin(), results.end(), "late"), 1);

  {
    SQLite::Database db(dir.path() / kDemoArchiveFileName, SQLite::OPEN_READWRITE);
    db.exec("DROP TRIGGER ledger_no_update");
    db.exec("UPDATE ledger SET source = 'live' WHERE source = 'late'");
  }
  const Outcome verify = Cli("--demo --dir " + dir.path().string() + " ledger verify");
  EXPECT_EQ(verify.status, 5) << verify.out;
  EXPECT_NE(verify.out.find("broken at event 2"), std::string::npos) << verify.out;
}

}  // namespace
}  // namespace trotix
