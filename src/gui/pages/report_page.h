#pragma once
// "Report": the picks, the best-of runs that fill them, saving them, and settling every pick of
// the ledger. A click on a pick selects it for "Удалить" in the grid's context menu.
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
  void deleteRowRequested();

 private:
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
  QMenu* menu_;
  QAction* deleteRow_;
};

}  // namespace trotix::gui
