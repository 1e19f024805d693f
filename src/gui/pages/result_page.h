#pragma once
// "Result": the results of a date. "LOAD" asks for the date typed; a click on a result's link
// opens its page; a load that finds nothing says so for a few seconds.
#include <QWidget>
#include <string>

#include "model/workspace.h"

class QFrame;
class QLineEdit;
class QPushButton;
class QTimer;

namespace trotix::gui {

class GridView;

class ResultPage : public QWidget {
  Q_OBJECT
 public:
  explicit ResultPage(const WorkspaceView& ws, QWidget* parent = nullptr);

  void Show(const WorkspaceView& ws);
  // The date field, as typed and as start-up fills it.
  std::string Date() const;
  void SetDate(const std::string& date);
  // "No Information" over the grid until its time runs out or the next load.
  void ShowNoInformation();
  void HideNoInformation();
  void SetIdle(bool idle);

 signals:
  void loadRequested(const std::string& date);
  void resultLinkClicked(int row);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceNoInformation();

  QLineEdit* date_;
  QPushButton* load_;
  GridView* rez_;
  QFrame* viz_;
  QTimer* vizTimer_;
};

}  // namespace trotix::gui
