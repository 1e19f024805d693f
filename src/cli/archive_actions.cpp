#include "archive_actions.h"

#include <signal.h>

#include <ctime>
#include <iostream>
#include <nlohmann/json.hpp>

#include "archive/archive_care.h"
#include "archive/sqlite_archive.h"
#include "exit_codes.h"
#include "open_archive.h"
#include "text/dates.h"

namespace trotix {
namespace {

constexpr const char* kArchiveUsage =
    "archive wants: info | backup FILE | export dd.mm.yyyy FILE | import FILE | vacuum | migrate";

std::string MiB(long long bytes) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f MiB", bytes / 1048576.0);
  return buf;
}

int Info(SqliteArchive& archive, const ArchiveCareRun& run) {
  const ArchiveInfo info = DescribeArchive(archive);
  if (run.json) {
    std::cout << nlohmann::json{{"days", info.days},
                                {"answers", info.answers},
                                {"picks", info.picks},
                                {"events", info.events},
                                {"bytes", info.bytes},
                                {"bytesByKind", info.bytesByKind},
                                {"bodiesToPack", info.bodiesToPack},
                                {"answersToPack", info.answersToPack}}
                     .dump(2)
              << '\n';
    return 0;
  }
  std::cout << archive.file().string() << '\n'
            << "days     " << info.days << '\n'
            << "answers  " << info.answers << '\n'
            << "picks    " << info.picks << '\n'
            << "events   " << info.events << '\n'
            << "bytes    " << info.bytes << " (" << MiB(info.bytes) << ")\n";
  for (const auto& [kind, bytes] : info.bytesByKind)
    std::cout << "  " << kind << std::string(kind.size() < 14 ? 14 - kind.size() : 1, ' ') << bytes
              << '\n';
  if (info.bodiesToPack > 0)
    std::cout << "bodies stored unpacked by an older release: " << info.bodiesToPack
              << " (archive migrate packs them)\n";
  if (info.answersToPack > 0)
    std::cout << "answers stored a row each by an older release: " << info.answersToPack
              << " (archive migrate packs them)\n";
  return 0;
}

// Ctrl+C is blocked for every thread of trotix-cli and waits here until asked for.
bool Interrupted() {
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  const timespec noWait{0, 0};
  return sigtimedwait(&interrupt, nullptr, &noWait) == SIGINT;
}

int Migrate(SqliteArchive& archive) {
  const PackingEnd end = PackStoredBodies(archive, [](long long done, long long total) {
    std::cerr << "migrate " << done << "/" << total << " bodies and days" << std::endl;
    return !Interrupted();
  });
  if (end == PackingEnd::kStopped) {
    std::cout << "stopped; archive migrate goes on from here\n";
    return kExitInterrupted;
  }
  const auto [before, after] = VacuumArchive(archive);
  std::cout << "every body and answer packed and checked; " << MiB(before) << " -> " << MiB(after)
            << '\n';
  return 0;
}

int Run(const std::string& what, const std::vector<std::string>& args, const ArchiveCareRun& run) {
  auto archive = OpenArchive(run.archive, what == "import");
  if (!archive) return kExitActionFailed;
  if (what == "info") return Info(*archive, run);
  if (what == "backup") {
    BackUpArchive(*archive, args[0]);
    std::cout << "backed up to " << args[0] << '\n';
    return 0;
  }
  if (what == "export") {
    const Date day = *ParseDate(args[0]);
    ExportDay(*archive, day, args[1]);
    std::cout << "exported " << FormatDate(day) << " to " << args[1] << '\n';
    return 0;
  }
  if (what == "import") {
    const ImportedDays days = ImportDays(*archive, args[0]);
    for (const Date& d : days.added) std::cout << "imported " << FormatDate(d) << '\n';
    for (const Date& d : days.present)
      std::cout << "already stored, left as it is: " << FormatDate(d) << '\n';
    return 0;
  }
  if (what == "vacuum") {
    const auto [before, after] = VacuumArchive(*archive);
    std::cout << MiB(before) << " -> " << MiB(after) << '\n';
    return 0;
  }
  return Migrate(*archive);
}

}  // namespace

std::optional<int> RunArchiveCommand(const std::vector<std::string>& words,
                                     const ArchiveCareRun& run) {
  if (words.empty() || words[0] != "archive") return std::nullopt;
  const std::string what = words.size() > 1 ? words[1] : "";
  const std::vector<std::string> args(words.begin() + std::min<std::size_t>(2, words.size()),
                                      words.end());
  const bool fits = ((what == "info" || what == "vacuum" || what == "migrate") && args.empty()) ||
                    ((what == "backup" || what == "import") && args.size() == 1) ||
                    (what == "export" && args.size() == 2 && ParseDate(args[0]));
  if (!fits) {
    std::cerr << kArchiveUsage << '\n';
    return kExitBadArguments;
  }
  try {
    return Run(what, args, run);
  } catch (const ArchiveError& e) {
    std::cerr << "error: " << e.what() << '\n';
    return kExitActionFailed;
  }
}

}  // namespace trotix
