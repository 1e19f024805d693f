#include "ledger_actions.h"

#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "archive/ledger_chain.h"
#include "archive/sqlite_archive.h"
#include "exit_codes.h"
#include "open_archive.h"
#include "report/save_file.h"
#include "text/dates.h"

namespace trotix {
namespace {

constexpr const char* kLedgerUsage =
    "ledger wants: export FILE | verify [FILE] | digest dd.mm.yyyy";

int Report(const ChainCheck& check, const LedgerRun& run) {
  if (run.json) {
    std::cout << nlohmann::json{{"events", check.events},
                                {"intact", check.intact},
                                {"badEvent", check.badEvent},
                                {"why", check.why},
                                {"migrated", check.migrated}}
                     .dump(2)
              << '\n';
  } else {
    std::cout << ChainCheckText(check) << '\n';
  }
  return check.intact ? 0 : kExitLedgerBroken;
}

int Verify(const std::vector<std::string>& args, const LedgerRun& run) {
  if (args.size() == 1) {
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
      std::cerr << "error: cannot read " << args[0] << '\n';
      return kExitActionFailed;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return Report(VerifyExport(text.str()), run);
  }
  auto archive = OpenArchive(run.archive);
  if (!archive) return kExitActionFailed;
  try {
    return Report(archive->CheckLedger(), run);
  } catch (const ArchiveError& e) {
    std::cerr << "error: " << e.what() << '\n';
    return kExitActionFailed;
  }
}

int Export(const std::string& file, const LedgerRun& run) {
  auto archive = OpenArchive(run.archive);
  if (!archive) return kExitActionFailed;
  try {
    std::string text;
    const auto events = archive->LedgerEvents();
    for (const ChainedEvent& e : events) text += ExportLine(e) + "\n";
    std::error_code ignored;
    const auto full = std::filesystem::absolute(file, ignored).lexically_normal();
    if (const std::string error = SaveTextFile(full, text); !error.empty()) {
      std::cerr << "error: " << error << '\n';
      return kExitActionFailed;
    }
    std::cout << "exported " << events.size() << " events to " << full.string() << '\n';
    return 0;
  } catch (const ArchiveError& e) {
    std::cerr << "error: " << e.what() << '\n';
    return kExitActionFailed;
  }
}

int Digest(const Date& day, const LedgerRun& run) {
  auto archive = OpenArchive(run.archive);
  if (!archive) return kExitActionFailed;
  try {
    const auto digest = DigestEvent(archive->LedgerEvents(), day, run.raceTimesOffset);
    if (!digest) {
      std::cerr << "error: " << DigestText(day, digest) << '\n';
      return kExitActionFailed;
    }
    if (run.json) {
      std::cout << nlohmann::json{{"day", FormatDate(day)},
                                  {"event", digest->event.seq},
                                  {"at", digest->event.at},
                                  {"hash", digest->hash}}
                       .dump(2)
                << '\n';
    } else {
      std::cout << DigestText(day, digest) << '\n';
    }
    return 0;
  } catch (const ArchiveError& e) {
    std::cerr << "error: " << e.what() << '\n';
    return kExitActionFailed;
  }
}

}  // namespace

std::optional<int> RunLedgerCommand(const std::vector<std::string>& words, const LedgerRun& run) {
  if (words.empty() || words[0] != "ledger") return std::nullopt;
  const std::string what = words.size() > 1 ? words[1] : "";
  const std::vector<std::string> args(words.begin() + std::min<std::size_t>(2, words.size()),
                                      words.end());
  if (what == "verify" && args.size() <= 1) return Verify(args, run);
  if (what == "export" && args.size() == 1) return Export(args[0], run);
  if (what == "digest" && args.size() == 1) {
    if (const auto day = ParseDate(args[0])) return Digest(*day, run);
  }
  std::cerr << kLedgerUsage << '\n';
  return kExitBadArguments;
}

}  // namespace trotix
