#pragma once
// The view every grid of the window uses: bound to its own TableModel, with the columns the
// grid's schema lays out, kept fitted as its size and rows change.
#include <QPixmap>
#include <QTableView>
#include <vector>

#include "table/table.h"

class QSortFilterProxyModel;

namespace trotix::gui {

class TableModel;

class GridView : public QTableView {
 public:
  // Whether a click selects the whole row or one cell.
  enum class Select { Rows, Cells };
  // Whether a header click sorts the rows shown. Sorting is the view's alone: the data and
  // every row number handed to the core keep the system's order.
  enum class Sort { Fixed, ByHeader };

  // `name` is the grid's name in the Workspace; `table` gives the columns to lay out.
  GridView(const char* name, const Table& table, Select select, Sort sort = Sort::Fixed,
           QWidget* parent = nullptr);

  // The picture list of an image column; cells pick their picture by image index.
  void SetPictures(int column, std::vector<QPixmap> pictures);
  // The country flags of a flag column, with the neutral flag for unlisted countries.
  void SetFlagPictures(int column);
  // Shows the rows of `table`.
  void SetTable(const Table& table);
  // The table's row behind an index of this view, whatever order the view shows.
  int SourceRow(const QModelIndex& index) const;
  // Selects the table's row `row`; none when it is -1.
  void SelectSourceRow(int row);
  // The view as wide as its columns (at least `minimum`), never scrolled sideways.
  void SetWidthFollowsColumns(int minimum);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Enter on a row does what a double-click does.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Fit();

  TableModel* model_;
  int followMinimum_ = -1;  // -1: the view takes the width its layout gives
  QSortFilterProxyModel* proxy_ = nullptr;
};

}  // namespace trotix::gui
