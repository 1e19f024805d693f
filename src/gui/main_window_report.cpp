// The window's questions about the report: where to save it, whether to clear it, and whether
// to save it before the window closes.
#include <QCloseEvent>
#include <QDir>

#include "gui/display_text.h"
#include "gui/main_window.h"
#include "gui/window_frame.h"
#include "text/dates.h"

namespace trotix::gui {

void MainWindow::SaveReportAs(bool csv) {
  if (shown().ws.REP.RowCount() == 0) {
    frame_->Say(tr("The report is empty: nothing to save"));
    return;
  }
  // The day's date in the name, so the reports of several days can stand side by side.
  const QString name = QString("report-%1.%2")
                           .arg(Display(FormatDate(ports_->clock().Today())), csv ? "csv" : "html");
  const QString path =
      ports_->AskSavePath(QDir(Display(options_.folder.string())).filePath(name),
                          csv ? tr("CSV files (*.csv)") : tr("Web pages (*.html *.htm)"));
  if (path.isEmpty()) return;
  const std::filesystem::path target(Input(path));
  if (csv)
    Run([target](Session& s) { s.ExportReportCsvAs(target); });
  else
    Run([target](Session& s) { s.SaveReportAs(target); });
}

void MainWindow::AskToClearReport() {
  const int rows = shown().ws.REP.RowCount();
  if (rows > 0 &&
      ports_->Ask(tr("Clear the report? Its %1 row(s) will be gone.").arg(rows),
                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
    return;
  Run([](Session& s) { s.ClearReport(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closing_ && shown().view.reportUnsaved) {
    const auto answer = ports_->Ask(
        tr("The report has rows that are not saved. Save them before Trotix closes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) {
      event->ignore();
      return;
    }
    if (answer == QMessageBox::Save) {
      event->ignore();
      SaveThenClose();
      return;
    }
  }
  closing_ = true;
  SaveWindowState();
  if (!runner_->busy()) Run([](Session& s) { s.Close(); });
  frame_->HideTray();
  event->accept();
}

void MainWindow::SaveThenClose() {
  saveThenClose_ = true;
  saveCommand_ = Run([](Session& s) { s.SaveReport(); });
  // Running: it is asked to stop, and the save follows once it has.
  if (saveCommand_ == 0) ports_->RequestCancel();
}

}  // namespace trotix::gui
