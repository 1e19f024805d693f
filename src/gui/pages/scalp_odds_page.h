#pragma once
// "Scalp Odds": the day's market moves; "Обновить" loads them afresh.
#include <QWidget>

#include "model/workspace.h"

class QPushButton;

namespace trotix::gui {

class GridView;

class ScalpOddsPage : public QWidget {
  Q_OBJECT
 public:
  explicit ScalpOddsPage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);
  void SetIdle(bool idle);

 signals:
  void reloadRequested();

 private:
  GridView* lg_;
  QPushButton* refresh_;
};

}  // namespace trotix::gui
