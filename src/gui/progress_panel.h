#pragma once
// "Load data....": the panel over the window with the gauges `pr` and `pr2` and Cancel. A command
// asks for it through the progress port; one that runs longer than a moment gets it anyway, so
// Cancel is always in reach.
#include <QFrame>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace trotix::gui {

class ProgressPanel : public QFrame {
  Q_OBJECT
 public:
  // Hidden, in the middle of `window`, which has its final size.
  explicit ProgressPanel(QWidget* window);

  // A command started or ended.
  void SetBusy(bool busy);
  // What the progress port asks for; `gauge` is a `Progress::Gauge`.
  void Request(bool visible);
  void SetGauge(int gauge, int value, int maximum);
  void ShowGauge(int gauge, bool visible);
  // The step last shown ("Best Rank 14/40 — 16:45 Lingfield"); back to "Load data...." when the
  // command ends.
  void SetCaption(const QString& text);
  // A message box is up: the panel steps aside until it closes.
  void Pause(bool paused);
  // Where a long run's panel stands (in the window's coordinates), so it covers none of the rows
  // the run adds; empty: in the middle, as for every other command.
  void SetRunArea(std::function<QRect()> area) { runArea_ = std::move(area); }
  // In the middle of the window, or in the run's area while a run shows its races.
  void Place();

 signals:
  void cancelRequested();

 private:
  void Reveal(bool visible);

  QLabel* caption_;
  QLabel* prLabel_;
  QProgressBar* pr_;
  QLabel* pr2Label_;
  QProgressBar* pr2_;
  std::function<QRect()> runArea_;
  QPushButton* cancel_;
  QTimer* delay_;
  bool busy_ = false;
  bool paused_ = false;
};

}  // namespace trotix::gui
