#pragma once
// One adapter for every grid: shows a snapshot of a Table.
#include <QAbstractTableModel>
#include <QPixmap>
#include <map>
#include <vector>

#include "table/table.h"

namespace trotix::gui {

class TableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TableModel(Table table, QObject* parent = nullptr);

  // The picture list of an image column; cells pick their picture by image index.
  void SetPictures(int column, std::vector<QPixmap> pictures);
  // A flag column: the data give "USA" and every unlisted country the same index, so the cell's
  // country (its hint) tells them apart and an unlisted one shows `other`.
  void SetFlagPictures(int column, std::vector<QPixmap> flags, QPixmap other);
  // Replaces the rows shown. Keeps the view's selection and scroll when only cells changed.
  void SetTable(const Table& table);
  const Table& table() const { return table_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  Table table_;
  std::map<int, std::vector<QPixmap>> pictures_;
  std::map<int, QPixmap> otherFlags_;
};

}  // namespace trotix::gui
