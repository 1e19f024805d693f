// The window's archive: a stored day replayed in place of the live session, the demo history,
// the stored days on the sign-in page, and its backup.
#include <memory>
#include <optional>

#include <QDate>
#include <QDir>

#include "archive/archive_care.h"
#include "archive/sqlite_archive.h"
#include "gui/display_text.h"
#include "gui/main_window.h"
#include "gui/pages/sign_in_page.h"
#include "gui/session_factory.h"
#include "gui/window_frame.h"
#include "text/dates.h"

namespace trotix::gui {

int MainWindow::ReplayDay(const Date& day) {
  if (runner_->busy() || !sessions_->archive()) return 0;
  // The day is read and the live Session ends on the worker: the window waits for neither.
  auto replayed = std::make_shared<bool>(false);
  const auto make = [factory = sessions_.get(), options = options_, day, replayed,
                     &messages =
                         ports_->messages()]() -> std::optional<SessionRunner::Replacement> {
    std::string error;
    auto replay = factory->Replay(options, day, error);
    if (!replay) {
      if (!error.empty()) messages.Show(error);
      return std::nullopt;
    }
    *replayed = true;
    return SessionRunner::Replacement{std::move(replay->session), std::move(replay->keepAlive)};
  };
  ports_->ResetCancel();
  // A day that cannot be opened before the window started leaves the live start-up to run.
  const auto live = [started = startCommand_ != 0](Session& s) {
    if (!started) s.Start();
  };
  const int command = runner_->PostReplacing(
      make,
      [form = signIn_->Form()](Session& s) {
        s.Start();
        s.SignIn(form);
      },
      live);
  if (command == 0) return 0;
  startCommand_ = command;
  replay_ = {command, day, std::move(replayed)};
  return command;
}

int MainWindow::BuildDemoHistory(int days) {
  if (!demoHistory_) return 0;
  Progress& progress = ports_->progress();
  Messages& messages = ports_->messages();
  return Run([build = demoHistory_, days, &progress, &messages](Session&) {
    messages.Show(build(days, progress));
  });
}

int MainWindow::BackUpArchive() {
  SqliteArchive* store = sessions_->archive();
  if (!store) return 0;
  const QString name =
      QString("trotix-backup-%1.db").arg(QDate::currentDate().toString(Qt::ISODate));
  const QString path = ports_->AskSavePath(
      QDir(Display(store->file().parent_path().string())).filePath(name), tr("Archives (*.db)"));
  if (path.isEmpty()) return 0;
  // On the worker, the one thread that uses the archive's connection; the window goes on.
  const int command = Run([store, target = std::filesystem::path(Input(path)),
                           &messages = ports_->messages()](Session&) {
    try {
      trotix::BackUpArchive(*store, target);
      messages.Show("The archive is backed up to " + target.string());
    } catch (const ArchiveError& e) {
      messages.Show(e.what());
    }
  });
  if (command == 0) frame_->Say(tr("The backup waits for the command under way: try again then"));
  return command;
}

void MainWindow::ShowReplayed(int command) {
  if (command == 0 || command != replay_.command || !*replay_.replayed) return;
  liveArchive_ = nullptr;  // a replay records nothing
  setWindowTitle(tr("Trotix - %1 from the archive").arg(Display(FormatDate(replay_.day))));
}

std::function<void(Snapshot&)> MainWindow::StoredDaysReader() const {
  SqliteArchive* store = sessions_->archive();
  if (!store) return {};
  // On the worker, the one thread that uses the archive's connection.
  return [store](Snapshot& snap) {
    try {
      snap.storedDays = store->Days();
    } catch (const ArchiveError&) {
      // The day list stays as it was; the next command's commit reports the failure.
    }
  };
}

}  // namespace trotix::gui
