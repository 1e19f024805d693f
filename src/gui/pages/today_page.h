#pragma once
// "Today": the day's races with their count. A double-click on a race analyses it from the
// tables as they stand.
#include <QWidget>

#include "model/workspace.h"

class QLabel;

namespace trotix::gui {

class GridView;

class TodayPage : public QWidget {
  Q_OBJECT
 public:
  explicit TodayPage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);

 signals:
  void raceActivated(int row);

 private:
  GridView* rt_;
  QLabel* count_;
};

}  // namespace trotix::gui
