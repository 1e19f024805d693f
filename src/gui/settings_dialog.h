#pragma once
// "Settings": the five servers, the connection cap, the data folder, the moves' auto-refresh
// and the Proof page's commission. OK keeps them; what the command line or a TROTIX_... variable
// sets for this run is named, since it still wins until the next start.
#include <QDialog>
#include <functional>
#include <map>

#include "gui/settings.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace trotix::gui {

class GuiPorts;

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  SettingsDialog(Settings& settings, const Settings::RunValues& commandLine, GuiPorts& ports,
                 QWidget* parent = nullptr);

  void accept() override;
  // The archive's row: its size on disk, and "Back up…", which calls `backUp`.
  void ShowArchive(long long bytes, std::function<void()> backUp);

 private:
  Settings& settings_;
  std::map<Settings::Key, QLineEdit*> hosts_;
  QSpinBox* maxConnections_;
  QLineEdit* folder_;
  QSpinBox* autoRefresh_;
  QDoubleSpinBox* commission_;
  QComboBox* raceTimes_;
  QSpinBox* deadline_;
  QCheckBox* keepAnswers_;
};

}  // namespace trotix::gui
