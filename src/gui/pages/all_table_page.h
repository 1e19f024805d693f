#pragma once
// "ALL TABLE": the day's races and the analysis of one: its header, its runners, each runner's
// scores (as a grid and as a chart) and the strongest runners. A double-click on a race analyses
// it with fresh exchange data; one on a runner, in TAB or in Summa, adds it to the report.
#include <QStringList>
#include <QWidget>

#include "app/view_state.h"
#include "model/workspace.h"

class QLabel;
class QPushButton;
class QSplitter;

namespace trotix::gui {

class GridView;
class SummaChart;

class AllTablePage : public QWidget {
  Q_OBJECT
 public:
  explicit AllTablePage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);
  // The video and exchange buttons work only for a race with a market; the race list selects
  // the race the tables hold; the header says where its prices came from.
  void ShowView(const ViewState& view);
  void SetIdle(bool idle);

 signals:
  void raceActivated(int row);
  void runnerActivated(int row);
  void videoRequested();
  void marketRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateButtons();

  QSplitter* split_;
  bool splitMoved_ = false;  // by the user: the page keeps their choice
  GridView* mm_;
  GridView* tab_;
  GridView* r_;
  GridView* rr_;
  SummaChart* chart_;
  // The race's header: time, course, prize, name, count, distance, type, money matched.
  QLabel *u1_, *u2_, *u3_, *u4_, *u5_, *u6_, *u7_, *u8_;
  QLabel* bfnumber_;
  QLabel* exchangePrices_;
  QStringList runners_;  // TAB's names, to find a Summa row's runner
  QPushButton* tv_;
  QPushButton* exchange_;
  bool idle_ = true;
  bool tvEnabled_ = false;
  bool exchangeEnabled_ = false;
};

}  // namespace trotix::gui
