#pragma once
// "Scalp Odds": the day's market moves.
#include <QWidget>

#include "model/workspace.h"

namespace trotix::gui {

class GridView;

class ScalpOddsPage : public QWidget {
  Q_OBJECT
 public:
  explicit ScalpOddsPage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);

 private:
  GridView* lg_;
};

}  // namespace trotix::gui
