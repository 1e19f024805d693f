// The window's settings: the dialog, what it changes for the Session, and the window's size,
// page and choices kept between runs.
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "archive/archive_care.h"
#include "gui/display_text.h"
#include "gui/language.h"
#include "gui/main_window.h"
#include "gui/pages/page_parts.h"
#include "gui/pages/proof_page.h"
#include "gui/pages/report_page.h"
#include "gui/pages/sign_in_page.h"
#include "gui/session_factory.h"
#include "gui/settings_dialog.h"
#include "gui/window_frame.h"

namespace trotix::gui {

using Key = Settings::Key;

SettingsDialog* MainWindow::OpenSettings() {
  if (auto* open = findChild<SettingsDialog*>("settingsDialog")) {
    open->raise();
    return open;
  }
  auto* dialog = new SettingsDialog(*settings_, commandLine_, *ports_, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  if (const SqliteArchive* store = sessions_->archive()) {
    std::function<bool()> pack;
    if (packWork_ || packing_.packs) pack = [this] { return PackArchive() != 0; };
    dialog->ShowArchive(
        ArchiveFileBytes(store->file()), [this] { BackUpArchive(); }, pack);
    if (packing_.packs) dialog->ShowArchivePacking();
  }
  connect(dialog, &QDialog::accepted, this, &MainWindow::ApplySettings);
  // Window-modal without a loop of its own, so the window goes on showing what runs.
  dialog->open();
  return dialog;
}

void MainWindow::ApplySettings() {
  QStringList notes;
  SessionOptions options = RunSessionOptions(*settings_, commandLine_, &notes);
  ApplyNumberSettings(&notes);
  // The captions are made once, at the start.
  if (settings_->Get(Key::kLanguage).toString() != LanguageInUse())
    notes << tr("The captions change to the language chosen at the next start");
  if (!notes.isEmpty()) frame_->Say(notes.join("; "));
  signIn_->SetKeepAnswers(settings_->Get(Key::kKeepAnswers).toBool());
  if (runner_->busy()) {
    settingsPending_ = true;  // handed over when the command ends
    return;
  }
  settingsPending_ = false;
  bool newFolder = options.folder != options_.folder;
  if (newFolder && !AgreeToMoveInto(options_.folder, options.folder)) {
    // The files stay together in the folder they are in.
    settings_->Set(Key::kDataFolder, Display(options_.folder.string()));
    options.folder = options_.folder;
    newFolder = false;
  }
  const bool newSignIn = options.hosts.dataServer != options_.hosts.dataServer || newFolder;
  const std::filesystem::path from = options_.folder;
  options_ = options;
  signIn_->SetWebSite(options_.hosts.webSite);
  const int command = newFolder ? MoveDataFolderThenUse(options, from)
                                : Run([options](Session& s) { s.UseSettings(options); });
  if (newSignIn) refillCommand_ = command;
}

void MainWindow::ApplyNumberSettings(QStringList* notes) {
  proof_->SetCommission(CheckedNumber(*settings_, Key::kProofCommissionPercent, {}, notes) / 100);
  autoRefresh_->stop();
  const int minutes =
      static_cast<int>(CheckedNumber(*settings_, Key::kAutoRefreshMinutes, {}, notes));
  if (minutes > 0) autoRefresh_->start(std::chrono::minutes(minutes));
}

void MainWindow::RestoreWindowState() {
  if (!restoreGeometry(settings_->Get(Key::kGeometry).toByteArray())) {
    resize(kClientWidth, kClientHeight);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  }
  report_->SetFromRealOdds(settings_->Get(Key::kFromRealOdds).toBool());
  signIn_->SetKeepAnswers(settings_->Get(Key::kKeepAnswers).toBool());
  ApplyNumberSettings(&notes_);  // said with the other notes of the start
}

void MainWindow::SaveWindowState() {
  settings_->Set(Key::kGeometry, saveGeometry());
  settings_->Set(Key::kFromRealOdds, report_->FromRealOdds());
  settings_->Set(Key::kKeepAnswers, signIn_->KeepAnswers());
  if (shown().view.signedIn) settings_->Set(Key::kPage, PageCaption(pages_->currentIndex()));
}

}  // namespace trotix::gui
