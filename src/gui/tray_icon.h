#pragma once
// The window's place while it is minimised: a turning horseshoe in the tray.
#include <QSystemTrayIcon>

class QTimer;

namespace trotix::gui {

class TrayIcon : public QSystemTrayIcon {
  Q_OBJECT
 public:
  explicit TrayIcon(QObject* parent = nullptr);

  // Shows the icon and starts it turning.
  void ShowTurning();
  // Hides the icon and stops it turning.
  void HideStill();

 signals:
  // The user clicked the icon; it has gone again.
  void restoreRequested();

 private:
  QTimer* timer_;
  int frame_ = 0;
};

}  // namespace trotix::gui
