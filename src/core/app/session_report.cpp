// The report list, its pages, and the hand-offs to the browser.
#include "app/session.h"
#include "report/report_list.h"
#include "report/report_page.h"
#include "report/save_file.h"
#include "report/video_page.h"
#include "text/strings.h"

namespace trotix {

void Session::AddToReport(int row) {
  ports_.messages.Show(trotix::AddToReport(ws_, row));
  NoteReportChanges();
}

void Session::SelectReportRow(int row) {
  trotix::SelectReportRow(ws_, row);
}

void Session::DeleteReportRow() {
  if (const std::string message = trotix::DeleteReportRow(ws_); !message.empty())
    ports_.messages.Show(message);
  NoteReportChanges();
}

void Session::ClearReport() {
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
  const auto lines = ReportLines(ws_.REP);
  if (lines.empty()) return;  // an empty report writes nothing
  if (SavePage(path, JoinLines(lines))) savedReport_ = ws_.REP;
  NoteReportChanges();
}

void Session::ExportReportCsvAs(const std::filesystem::path& path) {
  if (ws_.REP.RowCount() == 0) return;
  if (SavePage(path, ReportCsv(ws_.REP))) savedReport_ = ws_.REP;
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
