#pragma once
// "Report": the picks, the best-of runs that fill them, saving them, and settling every pick of
// the ledger. "Удалить" in the grid's context menu, or the Delete key, deletes the pick chosen by
// a click, the keyboard or the right click that opened the menu.
#include <QWidget>

#include "model/workspace.h"

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;

namespace trotix::gui {

class GridView;

class ReportPage : public QWidget {
  Q_OBJECT
 public:
  explicit ReportPage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);
  void SetIdle(bool idle);
  bool FromRealOdds() const;
  // The empty space beneath the buttons, where a best-of run's progress stands.
  QWidget* RunProgressArea() const { return runArea_; }
  void SetFromRealOdds(bool on);

 signals:
  void bestRecomingRequested(bool fromRealOdds);
  void bestRankRequested(bool fromRealOdds);
  // "Run systems": every saved system over today's races.
  void runSystemsRequested(bool fromRealOdds);
  void saveRequested();
  void exportCsvRequested();
  // "Save as…" and "CSV as…": the same files where the user chooses.
  void saveAsRequested();
  void exportCsvAsRequested();
  void clearRequested();
  void settleRequested();
  void rowSelected(int row);
  // REP's row, -1 when none is chosen.
  void deleteRowRequested(int row);

 private:
  int ChosenRow() const;

  QCheckBox* fromRealOdds_;
  QPushButton* bestRecoming_;
  QPushButton* bestRank_;
  QPushButton* runSystems_;
  QPushButton* save_;
  QPushButton* exportCsv_;
  QPushButton* saveAs_;
  QPushButton* exportCsvAs_;
  QPushButton* clear_;
  QPushButton* settle_;
  GridView* rep_;
  QWidget* runArea_;
  QMenu* menu_;
  QAction* deleteRow_;
};

}  // namespace trotix::gui
