#pragma once
// "Tips": the tipsters' selections of the day.
#include <QWidget>

#include "model/workspace.h"

namespace trotix::gui {

class GridView;

class TipsPage : public QWidget {
  Q_OBJECT
 public:
  explicit TipsPage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);

 private:
  GridView* tips_;
};

}  // namespace trotix::gui
