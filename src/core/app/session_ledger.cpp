// The record anyone can check: the ledger's chain verified, exported and its digest of a day.
#include "app/session.h"
#include "report/save_file.h"

namespace trotix {

ChainCheck Session::CheckLedger() {
  Command command(*this);
  if (!ports_.archive) return {};
  return VerifyChain(ports_.archive->LedgerEvents());
}

bool Session::ExportLedger(const std::filesystem::path& path) {
  Command command(*this);
  if (!ports_.archive) {
    ports_.messages.Show("The archive is off: there is no record to export");
    return false;
  }
  std::string text;
  for (const ChainedEvent& e : ports_.archive->LedgerEvents()) text += ExportLine(e) + "\n";
  std::error_code ignored;
  const auto full = std::filesystem::absolute(path, ignored).lexically_normal();
  if (const std::string error = SaveTextFile(full, text); !error.empty()) {
    failures_.push_back(error);
    ports_.messages.Show(error);
    return false;
  }
  view_.savedFile = full.string();
  ++view_.saves;
  return true;
}

std::optional<ChainedEvent> Session::LedgerDigest(const Date& day) {
  Command command(*this);
  if (!ports_.archive) return std::nullopt;
  return DigestEvent(ports_.archive->LedgerEvents(), day, options_.raceTimesOffset);
}

void Session::ShowLedgerDigest() {
  const Date today = ports_.clock.Today();
  ports_.messages.Show(DigestText(today, LedgerDigest(today)));
}

}  // namespace trotix
