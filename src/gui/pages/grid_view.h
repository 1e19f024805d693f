#pragma once
// The view every grid of the window uses: bound to its own TableModel, with the columns the
// grid's schema lays out, kept fitted as its size and rows change.
#include <QPixmap>
#include <QTableView>
#include <vector>

#include "table/table.h"

namespace trotix::gui {

class TableModel;

class GridView : public QTableView {
 public:
  // Whether a click selects the whole row or one cell.
  enum class Select { Rows, Cells };

  // `name` is the grid's name in the Workspace; `table` gives the columns to lay out.
  GridView(const char* name, const Table& table, Select select, QWidget* parent = nullptr);

  // The picture list of an image column; cells pick their picture by image index.
  void SetPictures(int column, std::vector<QPixmap> pictures);
  // Shows the rows of `table`.
  void SetTable(const Table& table);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  TableModel* model_;
};

}  // namespace trotix::gui
