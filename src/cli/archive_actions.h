#pragma once
// `trotix-cli archive …`: the care of the archive's file. `info` says what it holds, `backup FILE`
// copies it while other programs record, `export DAY FILE` and `import FILE` carry a day to
// another archive without the ledger, `vacuum` gives free pages back, `migrate` packs the bodies
// an older release stored (Ctrl+C stops between batches; run it again to go on).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trotix {

struct ArchiveCareRun {
  std::filesystem::path archive;  // the archive file of the run
  bool json = false;
};

// The exit status of `words` when they are an archive command ("archive" first); none otherwise.
std::optional<int> RunArchiveCommand(const std::vector<std::string>& words,
                                     const ArchiveCareRun& run);

}  // namespace trotix
