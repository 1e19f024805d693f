#pragma once
// "Settings": the five servers, the connection cap, the data folder, the moves' auto-refresh
// and the Proof page's commission. OK keeps them; what the command line or a TROTIX_... variable
// sets for this run is named, since it still wins until the next start.
#include <QDialog>
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

 private:
  Settings& settings_;
  std::map<Settings::Key, QLineEdit*> hosts_;
  QSpinBox* maxConnections_;
  QLineEdit* folder_;
  QSpinBox* autoRefresh_;
  QDoubleSpinBox* commission_;
  QComboBox* raceTimes_;
  QComboBox* language_;
  QSpinBox* deadline_;
  QCheckBox* keepAnswers_;
};

}  // namespace trotix::gui
