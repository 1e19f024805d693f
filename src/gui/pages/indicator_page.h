#pragma once
// "Indicator BF": the exchange's races of the day and the runners of one of them. The system
// keeps the page's tab hidden; the tables are kept up to date all the same.
#include <QWidget>

#include "model/workspace.h"

class QLabel;

namespace trotix::gui {

class GridView;

class IndicatorPage : public QWidget {
  Q_OBJECT
 public:
  explicit IndicatorPage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);

 private:
  GridView* t1_;
  GridView* t2_;
  QLabel* time_;
  QLabel* course_;
  QLabel* ind1_;
  QLabel* ind2_;
};

}  // namespace trotix::gui
