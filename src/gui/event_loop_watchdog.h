#pragma once
// How long the GUI thread kept its event loop waiting: a 10 ms timer and the longest gap between
// two of its ticks. A window that never waits on the network, the disk or another thread keeps
// the gap near the tick.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace trotix::gui {

class EventLoopWatchdog : public QObject {
 public:
  explicit EventLoopWatchdog(QObject* parent = nullptr) : QObject(parent), timer_(this) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this,
            [this] { longest_ = qMax(longest_, since_.restart()); });
    since_.start();
    timer_.start();
  }
  // Milliseconds.
  qint64 longestGap() const { return longest_; }
  // The time since the last tick is not counted: for work the GUI thread does on purpose.
  void Skip() { since_.restart(); }

 private:
  QTimer timer_;
  QElapsedTimer since_;
  qint64 longest_ = 0;
};

}  // namespace trotix::gui
