// An archive an older release left, its pages stored as they came: offered for packing after
// start-up and from Settings, packed on the worker (the one thread of the archive's connection)
// in batches that Cancel stops between, and resumed by the next "Pack now".
#include <QDir>
#include <QTimer>
#include <optional>

#include "archive/archive_care.h"
#include "archive/sqlite_archive.h"
#include "gui/display_text.h"
#include "gui/main_window.h"
#include "gui/session_factory.h"
#include "gui/settings_dialog.h"
#include "gui/window_frame.h"

namespace trotix::gui {

struct PackResult {
  std::optional<bool> workLeft;  // none when the archive could not be read
  QString said;                  // for the status line; empty after a look alone
};

namespace {

QString Megabytes(long long bytes) {
  return QString::number(bytes / 1e6, 'f', 1);
}

// Worker thread: whether pages are left to pack; one row read, so every start may ask. A
// read-only archive is read as it is and never packed.
void LookAtArchive(SqliteArchive& store, PackResult& result) {
  try {
    result.workLeft = !store.readOnly() && HasBodiesToPack(store);
  } catch (const ArchiveError&) {
    // Left unknown; the commands that use the archive say what is wrong with it.
  }
}

// Worker thread: shows a step of the packing and says whether to go on. Shown on the GUI thread
// and waited for, so a Cancel clicked at any step is seen before the next batch begins.
bool ShowPackStep(GuiPorts& ports, const QString& caption, long long done, long long total) {
  bool goOn = false;
  QMetaObject::invokeMethod(
      &ports,
      [&] {
        emit ports.captionSet(caption);
        emit ports.gaugeSet(Progress::kPr, static_cast<int>(done), static_cast<int>(total));
        goOn = !ports.cancelRequested();
      },
      Qt::BlockingQueuedConnection);
  return goOn;
}

}  // namespace

int MainWindow::RunThenLookAtArchive(std::function<void(Session&)> command, bool offer) {
  SqliteArchive* store = sessions_->archive();
  if (!store) return Run(std::move(command));
  auto result = std::make_shared<PackResult>();
  const int number = Run([command = std::move(command), store, result](Session& s) {
    command(s);
    LookAtArchive(*store, *result);
  });
  if (number != 0) packing_ = {number, offer, false, std::move(result)};
  return number;
}

void MainWindow::OfferToPack() {
  const SqliteArchive* store = sessions_->archive();
  if (!store || !packWork_ || closing_) return;
  const QString text =
      tr("The archive %1 takes %2 MB: an older release of Trotix stored its pages as they "
         "came. Packed, the file is several times smaller.\n\nPacking takes a while, and other "
         "commands wait for it; Cancel stops it after the batch under way and keeps what is "
         "done, and \"Pack now\" (here at the next start, or in Settings) goes on from there. A "
         "copy of the archive is kept until the packed one is checked against it.\n\nPack the "
         "archive now?")
          .arg(QDir::toNativeSeparators(Display(store->file().string())),
               Megabytes(ArchiveFileBytes(store->file())));
  const auto answer =
      ports_->Ask(text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                  {{QMessageBox::Yes, tr("Pack now")}, {QMessageBox::No, tr("Later")}});
  if (answer == QMessageBox::Yes) PackArchive();
}

int MainWindow::PackArchive() {
  SqliteArchive* store = sessions_->archive();
  if (!store || store->readOnly()) return 0;
  auto result = std::make_shared<PackResult>();
  const int command = Run([store, result, ports = ports_](Session&) {
    PackOnWorker(*store, *ports, *result);
    LookAtArchive(*store, *result);
  });
  if (command == 0) {
    frame_->Say(
        tr("Packing the archive waits for the command under way: \"Pack now\" in "
           "Settings starts it then"));
    return 0;
  }
  packing_ = {command, false, true, std::move(result)};
  return command;
}

void MainWindow::PackOnWorker(SqliteArchive& store, GuiPorts& ports, PackResult& result) {
  Progress& progress = ports.progress();
  // Before packing began: a packing that goes on has the archive's copy as it was then.
  const auto copy = OldArchiveCopy(store.file());
  const bool goesOn = std::filesystem::exists(copy);
  const long long before = ArchiveFileBytes(goesOn ? copy : store.file());
  progress.ShowPanel(true);
  ShowPackStep(ports,
               goesOn ? tr("Packing the archive: going on from where it stopped")
                      : tr("Packing the archive: keeping a copy until it is checked"),
               0, 0);
  long long reached = 0, all = 0;
  try {
    const PackingEnd end = PackStoredBodies(store, [&](long long done, long long total) {
      reached = done;
      all = total;
      return ShowPackStep(ports,
                          done < total ? tr("Packing the archive: %1 of %2").arg(done).arg(total)
                                       : tr("Packing the archive: %1 of %2, checking it against "
                                            "the copy")
                                             .arg(done)
                                             .arg(total),
                          done, total);
    });
    if (end == PackingEnd::kStopped) {
      result.said = tr("Packing the archive stopped after %1 of %2, what is done is kept: \"Pack "
                       "now\" goes on from there")
                        .arg(reached)
                        .arg(all);
    } else if (ports.cancelRequested()) {
      // Cancelled while the packed archive was checked: it is done, the file's free room is
      // left for the next days.
      result.said = tr("The archive is packed and checked: %1 MB").arg(Megabytes(before));
    } else {
      try {
        const long long after = VacuumArchive(store).second;
        result.said = tr("The archive is packed and checked: %1 MB before, %2 MB now")
                          .arg(Megabytes(before), Megabytes(after));
      } catch (const ArchiveError& e) {
        result.said = tr("The archive is packed and checked, but its file could not be made "
                         "smaller: %1")
                          .arg(Display(e.what()));
      }
    }
  } catch (const ArchiveError& e) {
    progress.ShowPanel(false);
    ports.messages().Show(
        tr("Packing the archive failed: %1\n\nThe archive is used as it is; what was packed "
           "stays packed, and \"Pack now\" tries again.")
            .arg(Display(e.what()))
            .toStdString());
    result.said = tr("Packing the archive failed; the archive is used as it is");
  }
  progress.ShowPanel(false);
}

void MainWindow::ShowPacked(int command) {
  if (command == 0 || command != packing_.command) return;
  const Packing done = std::move(packing_);
  packing_ = {};
  if (done.result->workLeft) packWork_ = *done.result->workLeft;
  if (!done.result->said.isEmpty()) frame_->Say(done.result->said);
  if (auto* dialog = findChild<SettingsDialog*>("settingsDialog"))
    dialog->ShowArchivePacked(ArchiveFileBytes(sessions_->archive()->file()), packWork_);
  // Asked once the start is on screen, outside the showing of its snapshot.
  if (done.offer && packWork_) QTimer::singleShot(0, this, &MainWindow::OfferToPack);
}

}  // namespace trotix::gui
