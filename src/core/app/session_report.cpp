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
}

void Session::SelectReportRow(int row) {
  trotix::SelectReportRow(ws_, row);
}

void Session::DeleteReportRow() {
  if (const std::string message = trotix::DeleteReportRow(ws_); !message.empty())
    ports_.messages.Show(message);
}

void Session::ClearReport() {
  trotix::ClearReport(ws_);
}

void Session::SaveReport() {
  const auto lines = ReportLines(ws_.REP);
  if (lines.empty()) return;  // an empty report writes nothing
  SavePage(kReportFileName, JoinLines(lines));
}

void Session::ExportReportCsv() {
  if (ws_.REP.RowCount() == 0) return;
  SavePage(kReportCsvFileName, ReportCsv(ws_.REP));
}

void Session::OpenVideo() {
  SavePage(kVideoFileName, JoinLines(VideoPageLines(ws_, urls_.VideoPlayer(ws_.bfnumber))));
}

void Session::OpenMarket() {
  const std::string market = urls_.MarketPage(ws_.bfnumber);
  if (IsWebAddress(market)) ports_.browser.Open(market);
}

void Session::SavePage(const std::string& fileName, const std::string& content) {
  const auto path = options_.folder / fileName;
  if (const std::string error = SaveTextFile(path, content); !error.empty()) {
    failures_.push_back(error);
    ports_.messages.Show(error);
    return;
  }
  ports_.browser.Open(path.string());
}

}  // namespace trotix
