// The window's archive: a stored day replayed in place of the live session, the demo history,
// and the stored days on the sign-in page.
#include "archive/sqlite_archive.h"
#include "gui/display_text.h"
#include "gui/main_window.h"
#include "gui/pages/sign_in_page.h"
#include "gui/session_factory.h"
#include "text/dates.h"

namespace trotix::gui {

int MainWindow::ReplayDay(const Date& day) {
  if (runner_->busy()) return 0;
  std::string error;
  auto replay = sessions_->Replay(options_, day, error);
  if (!replay) {
    if (!error.empty()) ports_->ShowMessage(Display(error));
    return 0;
  }
  Attach(std::move(*replay));
  setWindowTitle(Display("Trotix - " + FormatDate(day) + " from the archive"));
  const SignInForm form = signIn_->Form();
  startCommand_ = Run([form](Session& s) {
    s.Start();
    s.SignIn(form);
  });
  return startCommand_;
}

int MainWindow::BuildDemoHistory(int days) {
  if (!demoHistory_) return 0;
  Progress& progress = ports_->progress();
  Messages& messages = ports_->messages();
  return Run([build = demoHistory_, days, &progress, &messages](Session&) {
    messages.Show(build(days, progress));
  });
}

void MainWindow::ShowStoredDays() {
  if (!sessions_->archive()) return;
  // The worker is idle: nobody else uses the archive's connection now.
  try {
    signIn_->SetStoredDays(sessions_->archive()->Days());
  } catch (const ArchiveError&) {
    // The day list stays as it was; the next command's commit reports the failure.
  }
}

}  // namespace trotix::gui
