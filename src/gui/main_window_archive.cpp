// The window's archive: a stored day replayed in place of the live session, the demo history,
// and the stored days on the sign-in page.
#include <memory>
#include <optional>

#include "archive/sqlite_archive.h"
#include "gui/display_text.h"
#include "gui/main_window.h"
#include "gui/pages/sign_in_page.h"
#include "gui/session_factory.h"
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
