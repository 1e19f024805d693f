#pragma once
// "Zorvat": the day's races; a double-click on one scores it into its race numbers and runners.
#include <QWidget>

#include "model/workspace.h"

class QLabel;

namespace trotix::gui {

class GridView;

class ZorvatPage : public QWidget {
  Q_OBJECT
 public:
  explicit ZorvatPage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);

 signals:
  void raceActivated(int row);

 private:
  GridView* nx_;
  GridView* rf_;
  GridView* h_;
  QLabel* e1_;
  QLabel* e2_;
  QLabel* e3_;
};

}  // namespace trotix::gui
