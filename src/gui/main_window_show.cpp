// The window showing a snapshot: every page, the page in front, the sign-in fields after
// start-up, the frame's status line, and what a finished command sets going next.
#include <QTabWidget>

#include "gui/core_texts.h"
#include "gui/display_text.h"
#include "gui/main_window.h"
#include "gui/pages/all_table_page.h"
#include "gui/pages/indicator_page.h"
#include "gui/pages/proof_page.h"
#include "gui/pages/report_page.h"
#include "gui/pages/result_page.h"
#include "gui/pages/scalp_odds_page.h"
#include "gui/pages/sign_in_page.h"
#include "gui/pages/systems_page.h"
#include "gui/pages/tips_page.h"
#include "gui/pages/today_page.h"
#include "gui/pages/zorvat_page.h"
#include "gui/progress_panel.h"
#include "gui/session_factory.h"
#include "gui/window_frame.h"

namespace trotix::gui {

using Key = Settings::Key;

void MainWindow::ShowTables(const WorkspaceView& ws) {
  today_->Show(ws);
  scalpOdds_->Show(ws);
  indicator_->Show(ws);
  zorvat_->Show(ws);
  tips_->Show(ws);
  result_->Show(ws);
  report_->Show(ws);
  allTable_->Show(ws);
}

void MainWindow::ShowStep(const std::shared_ptr<const Snapshot>& snapshot) {
  ShowTables(snapshot->ws);
  allTable_->ShowView(snapshot->view);  // the race list follows the race on screen
  const RaceStep& race = snapshot->race;
  // A step of a single race ("Exchange prices — 16:45 Lingfield") has no count.
  progress_->SetCaption(race.races > 0 ? tr("%1 %2/%3 — %4")
                                             .arg(CoreText(race.run))
                                             .arg(race.race)
                                             .arg(race.races)
                                             .arg(Display(race.name))
                                       : tr("%1 — %2").arg(CoreText(race.run), Display(race.name)));
  emit stepShown(snapshot->command);
}

void MainWindow::Show(const std::shared_ptr<const Snapshot>& snapshot) {
  const ViewState& view = snapshot->view;
  showing_ = true;
  ShowTables(snapshot->ws);
  // The figures need only the archive: no sign-in, and the command line has no such page.
  for (int p = 0; p < kPageCount; ++p)
    pages_->setTabVisible(p,
                          p == kPageProof ? sessions_->archive() != nullptr : view.tabVisible[p]);
  pages_->setTabVisible(pages_->indexOf(systems_), sessions_->archive() != nullptr);
  proof_->ShowReport(snapshot->proof);
  systems_->ShowReport(snapshot->systems);
  // Only a command that brings a page to the front moves the user away from theirs.
  if (view.pageRequests != pageRequestsShown_) pages_->setCurrentIndex(view.activePage);
  pageRequestsShown_ = view.pageRequests;
  // Signed in, the user is back on the page they left last time.
  if (view.signedIn && !signedInShown_) {
    const QString page = settings_->Get(Key::kPage).toString();
    for (int p = 0; p < kPageCount; ++p)
      if (pages_->isTabVisible(p) && page == PageCaption(p)) pages_->setCurrentIndex(p);
  }
  signedInShown_ = view.signedIn;
  showing_ = false;

  const int command = snapshot->command;
  if (command != 0 && command == startCommand_) {
    signIn_->Fill({login_.empty() ? view.login : login_,
                   password_.empty() ? view.password : password_, view.rememberMe});
    const QString date = settings_->Get(Key::kResultsDate).toString();
    result_->SetDate(date.isEmpty() ? view.resultsDate : Input(date));
  }
  // Back on the sign-in page, Enter goes on from where the fields stop.
  if (command != 0 && !view.signedIn && pages_->currentWidget() == signIn_)
    signIn_->FocusFirstStep();
  if (command != 0 && command == refillCommand_ && !view.signedIn)
    signIn_->Fill({view.login, view.password, view.rememberMe});
  signIn_->ShowView(view);
  allTable_->ShowView(view);
  if (snapshot->storedDays) signIn_->SetStoredDays(*snapshot->storedDays);
  ShowReplayed(command);
  if (view.vizVisible && command == resultsCommand_) result_->ShowNoInformation();
  ShowFolderMoved(command);
  ShowPacked(command);
  SayHowItEnded(*snapshot, frame_->ShowView(view));
  SetIdle(!runner_->busy());
  emit commandFinished(command);
  if (snapshot->closeRequested) close();

  if (settingsPending_ && !runner_->busy()) ApplySettings();
  if (saveThenClose_ && command != 0 && command == saveCommand_) {
    saveThenClose_ = false;
    if (!view.reportUnsaved) {
      closing_ = true;
      close();
    }
  } else if (saveThenClose_ && saveCommand_ == 0 && !runner_->busy()) {
    SaveThenClose();
  }
}

void MainWindow::SetIdle(bool idle) {
  signIn_->SetIdle(idle);
  scalpOdds_->SetIdle(idle);
  result_->SetIdle(idle);
  report_->SetIdle(idle);
  proof_->SetIdle(idle);
  systems_->SetIdle(idle);
  allTable_->SetIdle(idle);
}

}  // namespace trotix::gui
