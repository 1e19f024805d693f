#pragma once
// "Settings": the five servers, the connection cap, the data folder, the moves' auto-refresh
// and the Proof page's commission. Each field shows the value in force; what the command line or a
// TROTIX_... variable sets for this run is named, since it still wins until the next start, and
// is kept only when the user changes it here.
#include <QDialog>
#include <functional>
#include <map>

#include "gui/settings.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace trotix::gui {

class GuiPorts;

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  SettingsDialog(Settings& settings, const Settings::RunValues& commandLine, GuiPorts& ports,
                 QWidget* parent = nullptr);

  void accept() override;
  // The archive's row: its size on disk, "Back up…", which calls `backUp`, and, when `pack` is
  // given (pages an older release stored wait to be packed), "Pack now", which calls it; true:
  // the packing started.
  void ShowArchive(long long bytes, std::function<void()> backUp, std::function<bool()> pack = {});
  // While the archive is packed the row follows its progress, and "Stop" stops it.
  void ShowArchivePacking();
  // The packing ended: the size it left, and whether pages are still to pack.
  void ShowArchivePacked(long long bytes, bool workLeft);

 private:
  // Marks `field` as set for this run when `key` is overridden; `shown` is its value in force.
  void NoteOverride(QWidget* field, Settings::Key key, const QVariant& shown);
  // Whether `key` is overridden and its field still shows the value in force: the run's own
  // value is not made the kept one behind the user's back.
  bool LeftAsInForce(Settings::Key key, const QVariant& shown) const;

  Settings& settings_;
  const Settings::RunValues& commandLine_;
  std::map<Settings::Key, QVariant> inForce_;  // of the overridden keys, as first shown
  std::map<Settings::Key, QLineEdit*> hosts_;
  QSpinBox* maxConnections_;
  QLineEdit* folder_;
  QSpinBox* autoRefresh_;
  QDoubleSpinBox* commission_;
  QComboBox* raceTimes_;
  QComboBox* language_;
  QSpinBox* deadline_;
  QCheckBox* keepAnswers_;
  GuiPorts& ports_;
  QLabel* archiveSize_ = nullptr;
  QPushButton* pack_ = nullptr;
  bool packing_ = false;
};

}  // namespace trotix::gui
