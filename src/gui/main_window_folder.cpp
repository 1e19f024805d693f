// A new data folder in Settings: the files Trotix keeps, the open archive included, move there
// together on the worker, so that no file is written to one folder while others are in the other.
#include <QDir>

#include "app/data_folder.h"
#include "gui/display_text.h"
#include "gui/main_window.h"
#include "gui/session_factory.h"
#include "gui/window_frame.h"

namespace trotix::gui {

bool MainWindow::AgreeToMoveInto(const std::filesystem::path& from,
                                 const std::filesystem::path& to) {
  const std::vector<std::string> clashes = DataFileClashes(from, to);
  if (clashes.empty()) return true;
  QStringList names;
  for (const std::string& name : clashes) names << Display(name);
  const QString there = QDir::toNativeSeparators(Display(to.string()));
  const QString here = QDir::toNativeSeparators(Display(from.string()));
  return ports_->Ask(tr("The folder %1 already holds %2.\n\nMove the files of %3 there, replacing "
                        "them? \"No\" keeps the data folder %3.")
                         .arg(there, names.join(", "), here),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

int MainWindow::MoveDataFolderThenUse(SessionOptions options, const std::filesystem::path& from) {
  auto error = std::make_shared<std::string>();
  const auto to = options.folder;
  const auto said = [error, to](const Snapshot&) {
    if (!error->empty()) return Display(*error);
    return tr("The data folder is now %1: its files moved there")
        .arg(QDir::toNativeSeparators(Display(to.string())));
  };
  const int command = RunSaying(
      [options, from, error, archive = sessions_->archive()](Session& s) mutable {
        *error = MoveDataFolder(from, options.folder, archive);
        if (!error->empty()) options.folder = from;
        s.UseSettings(options);
      },
      {tr("Moving the data folder"), said});
  if (command != 0) folderMove_ = {command, from, error};
  return command;
}

void MainWindow::ShowFolderMoved(int command) {
  if (command == 0 || command != folderMove_.command) return;
  if (!folderMove_.error->empty()) {
    options_.folder = folderMove_.from;
    settings_->Set(Settings::Key::kDataFolder, Display(folderMove_.from.string()));
  }
  folderMove_ = {};
}

}  // namespace trotix::gui
