// The report list with its ledger, its pages, and the hand-offs to the browser.
#include "app/session.h"
#include "model/columns.h"
#include "model/prices.h"
#include "report/report_list.h"
#include "report/report_page.h"
#include "report/save_file.h"
#include "report/video_page.h"
#include "text/strings.h"

namespace trotix {
namespace {

bool SameReportRow(const Table& REP, int row, const Pick& pick) {
  return REP.Text(row, rep::kTime) == pick.time && REP.Text(row, rep::kCourse) == pick.course &&
         REP.Text(row, rep::kName) == pick.runner && REP.Text(row, rep::kSystem) == pick.system;
}

}  // namespace

Pick Session::PickOfReportRow(int row) const {
  Pick pick;
  pick.day = Day();
  pick.time = ws_.REP.Text(row, rep::kTime);
  pick.course = ws_.REP.Text(row, rep::kCourse);
  pick.runner = ws_.REP.Text(row, rep::kName);
  pick.system = ws_.REP.Text(row, rep::kSystem);
  pick.odds = ws_.REP.Text(row, rep::kOdds);
  return pick;
}

bool Session::BeforeOff(const Pick& pick, Instant at) const {
  const auto off = OffInstant(pick.day, pick.time, options_.raceTimesOffset);
  // A race time that is no time of day has no off to be late for.
  return !off || at < *off;
}

bool Session::IsLate(const Pick& pick, Instant at) const {
  if (!BeforeOff(pick, at)) return true;
  if (view_.resultsDate != FormatDate(pick.day)) return false;
  for (int r = 0; r < ws_.REZ.RowCount(); ++r)
    if (Trim(ws_.REZ.Text(r, rez::kTime)) == Trim(pick.time) &&
        Upper(Trim(ws_.REZ.Text(r, rez::kCourse))) == Upper(Trim(pick.course)))
      return true;
  return false;
}

void Session::LedgerRows(int first) {
  if (!ports_.archive) return;
  const Instant at = ports_.clock.Utc();
  for (int r = first; r < ws_.REP.RowCount(); ++r) {
    Pick pick = PickOfReportRow(r);
    pick.added = UtcText(at);
    pick.late = IsLate(pick, at);
    for (int i = 0; i < ws_.TAB.RowCount(); ++i) {
      if (ws_.TAB.Text(i, tab::kName) != pick.runner) continue;
      const double kf = ws_.TAB.Number(i, tab::kKf);
      if (!IsNoPrice(kf) && kf > 1) pick.price = kf;
      break;
    }
    ports_.archive->AddPick(std::move(pick));
  }
}

void Session::AddToReport(int row) {
  AsCommand([&] {
    const int first = ws_.REP.RowCount();
    const std::string message = trotix::AddToReport(ws_, row);
    LedgerRows(first);
    NoteReportChanges();
    ports_.messages.Show(message);
  });
}

void Session::SelectReportRow(int row) {
  trotix::SelectReportRow(ws_, row);
}

void Session::DeleteReportRow() {
  AsCommand([&] {
    const int row = ws_.ReportRow;
    const bool selected = row >= 0 && row < ws_.REP.RowCount();
    const Pick pick = selected ? PickOfReportRow(row) : Pick{};
    if (const std::string message = trotix::DeleteReportRow(ws_); !message.empty()) {
      ports_.messages.Show(message);
      return;
    }
    NoteReportChanges();
    if (!ports_.archive || !selected) return;
    // The same runner reported twice is one pick: it goes with the last of its rows.
    for (int r = 0; r < ws_.REP.RowCount(); ++r)
      if (SameReportRow(ws_.REP, r, pick)) return;
    // At or after the off the pick is a bet whatever the report shows; the archive keeps a
    // settled pick as it is.
    const Instant at = ports_.clock.Utc();
    if (BeforeOff(pick, at)) ports_.archive->WithdrawPick(pick, UtcText(at));
  });
}

void Session::ClearReport() {
  // The ledger keeps its picks: "Clear" only empties the page.
  trotix::ClearReport(ws_);
  NoteReportChanges();
}

void Session::SaveReport() {
  SaveReportAs(options_.folder / kReportFileName);
}

void Session::ExportReportCsv() {
  ExportReportCsvAs(options_.folder / kReportCsvFileName);
}

void Session::SaveReportAs(const std::filesystem::path& path) {
  const auto lines = ReportLines(ws_.REP, Day());
  if (lines.empty()) return;  // an empty report writes nothing
  if (SavePage(path, JoinLines(lines))) savedReport_ = ws_.REP;
  NoteReportChanges();
}

void Session::ExportReportCsvAs(const std::filesystem::path& path) {
  if (ws_.REP.RowCount() == 0) return;
  if (SavePage(path, ReportCsv(ws_.REP, Day()))) savedReport_ = ws_.REP;
  NoteReportChanges();
}

void Session::NoteReportChanges() {
  view_.reportUnsaved = ws_.REP.RowCount() > 0 && !(ws_.REP == savedReport_);
}

void Session::OpenVideo() {
  SavePage(options_.folder / kVideoFileName,
           JoinLines(VideoPageLines(ws_, urls_.VideoPlayer(ws_.bfnumber))));
}

void Session::OpenMarket() {
  const std::string market = urls_.MarketPage(ws_.bfnumber);
  if (IsWebAddress(market)) ports_.browser.Open(market);
}

bool Session::SavePage(const std::filesystem::path& path, const std::string& content) {
  std::error_code ignored;
  const auto full = std::filesystem::absolute(path, ignored).lexically_normal();
  if (const std::string error = SaveTextFile(full, content); !error.empty()) {
    failures_.push_back(error);
    ports_.messages.Show(error);
    return false;
  }
  view_.savedFile = full.string();
  ++view_.saves;
  ports_.browser.Open(full.string());
  return true;
}

}  // namespace trotix
