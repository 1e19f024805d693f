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
  connect(this, &QSystemTrayIcon::activated, this, [this](ActivationReason reason) {
    // A right-click opens the menu; the menu's own entries say what happens next.
    if (reason == Context) return;
    // The signal comes from inside the icon's own mouse-event handler, and hiding the icon
    // deletes the widget that handler belongs to: it goes once the handler has returned.
    QTimer::singleShot(0, this, [this] {
      HideStill();
      emit restoreRequested();
    });
  });
}

void TrayIcon::ShowTurning() {
  show();
  timer_->start();
}

void TrayIcon::HideStill() {
  timer_->stop();
  hide();
}

}  // namespace trotix::gui
