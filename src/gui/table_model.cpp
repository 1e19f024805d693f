#include "table_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include <limits>

#include "display_text.h"
#include "model/pictures.h"
#include "model/prices.h"
#include "text/fields.h"
#include "text/numbers.h"

namespace trotix::gui {

TableModel::TableModel(Table table, QObject* parent)
    : QAbstractTableModel(parent), table_(std::move(table)) {}

void TableModel::SetPictures(int column, std::vector<QPixmap> pictures) {
  pictures_[column] = std::move(pictures);
}

void TableModel::SetFlagPictures(int column, std::vector<QPixmap> flags, QPixmap other) {
  pictures_[column] = std::move(flags);
  otherFlags_[column] = std::move(other);
}

void TableModel::SetTable(const Table& table) {
  if (table.RowCount() == table_.RowCount() && table.ColumnCount() == table_.ColumnCount()) {
    table_ = table;
    if (table_.RowCount() > 0)
      emit dataChanged(index(0, 0), index(table_.RowCount() - 1, table_.ColumnCount() - 1));
    return;
  }
  beginResetModel();
  table_ = table;
  endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.RowCount();
}

int TableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.ColumnCount();
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row(), col = index.column();
  const Cell& cell = table_.At(row, col);
  const Column& column = table_.Columns()[col];
  const ColumnKind kind = column.kind;
  // An exchange figure whose page has not come says so; a price that does not exist shows as a
  // dash. The data keep their value.
  const bool notLoaded = cell.hint == kNotLoaded;
  const bool noPrice = !notLoaded && HoldsNoPrice(table_, row, col);
  switch (role) {
    case Qt::DisplayRole:
      if (kind == ColumnKind::Image) return {};
      if (notLoaded) return QString::fromUtf8(kNotLoaded);
      return noPrice ? QString::fromUtf8(kNoPriceShown) : Display(table_.Text(row, col));
    case Qt::TextAlignmentRole:
      if (kind == ColumnKind::Number) return int(Qt::AlignRight | Qt::AlignVCenter);
      if (kind == ColumnKind::Image) return int(Qt::AlignCenter);
      return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
      if (!cell.color) return {};
      return QBrush(QColor(cell.color->r, cell.color->g, cell.color->b));
    case Qt::ForegroundRole:
      if (notLoaded) return QBrush(Qt::gray);
      if (cell.fontColor)
        return QBrush(QColor(cell.fontColor->r, cell.fontColor->g, cell.fontColor->b));
      // Text on a dark cell colour (the blue "Summa") is written in white to stay readable.
      if (!cell.color) return {};
      {
        const auto& c = *cell.color;
        if (299 * c.r + 587 * c.g + 114 * c.b >= 128 * 1000) return {};
      }
      return QBrush(Qt::white);
    case Qt::FontRole:
      if (!cell.bold) return {};
      {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
    case Qt::ToolTipRole:
      if (noPrice) return QString::fromUtf8(kNoPriceHint);
      return cell.hint.empty() ? QVariant() : QVariant(Display(cell.hint));
    case Qt::DecorationRole: {
      if (kind != ColumnKind::Image) return {};
      const auto list = pictures_.find(col);
      if (list == pictures_.end()) return {};
      if (cell.image < 0 || cell.image >= static_cast<int>(list->second.size())) return {};
      if (const auto other = otherFlags_.find(col);
          other != otherFlags_.end() && cell.image == picture::kUsa && cell.hint != "USA")
        return other->second;
      return list->second[cell.image];
    }
    case Qt::UserRole:  // the raw value, so any sorting a view does goes by number
      if (column.price) {
        // Prices by their value, written with a point or a comma; missing ones last.
        if (noPrice || notLoaded) return std::numeric_limits<double>::max();
        if (kind == ColumnKind::Number) return cell.value;
        return ParseDecimal(ReplaceText(cell.text, ".", ",")).value_or(0);
      }
      return kind == ColumnKind::Number  ? QVariant(cell.value)
             : kind == ColumnKind::Image ? QVariant(cell.image)
                                         : QVariant(Display(cell.text));
    default:
      return {};
  }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= table_.ColumnCount()) return {};
  const Column& c = table_.Columns()[section];
  if (role == Qt::DisplayRole) return Display(c.caption);
  if (role == Qt::ToolTipRole && !c.hint.empty()) return Display(c.hint);
  return {};
}

}  // namespace trotix::gui
