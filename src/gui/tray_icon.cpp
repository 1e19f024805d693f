#include "gui/tray_icon.h"

#include <QTimer>

#include "gui/pictures.h"

namespace trotix::gui {

TrayIcon::TrayIcon(QObject* parent) : QSystemTrayIcon(parent), timer_(new QTimer(this)) {
  setObjectName("trayIcon");
  setToolTip("Trotix");
  const auto frames = TrayFrames();
  setIcon(frames.front());
  timer_->setInterval(100);
  connect(timer_, &QTimer::timeout, this, [this, frames] {
    frame_ = (frame_ + 1) % static_cast<int>(frames.size());
    setIcon(frames[frame_]);
  });
  connect(this, &QSystemTrayIcon::activated, this, [this] {
    timer_->stop();
    hide();
    emit restoreRequested();
  });
}

void TrayIcon::ShowTurning() {
  show();
  timer_->start();
}

}  // namespace trotix::gui
