#include "gui/pages/grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSortFilterProxyModel>
#include <algorithm>

#include "gui/pictures.h"
#include "gui/table_model.h"

namespace trotix::gui {
namespace {

// Widths that show every header and cell; pictures get a narrow column. Room left over goes to
// the widest text column, so names are not cut while a short last column sprawls.
void FitColumns(QTableView* view, const TableModel& model) {
  // The sort arrow sits above the caption and needs no width of its own.
  QHeaderView* header = view->horizontalHeader();
  const bool arrow = header->isSortIndicatorShown();
  header->setSortIndicatorShown(false);
  view->resizeColumnsToContents();
  header->setSortIndicatorShown(arrow);
  const auto& columns = model.table().Columns();
  int total = 0, widest = -1;
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    if (view->isColumnHidden(c)) continue;
    if (columns[c].kind == ColumnKind::Image)
      view->setColumnWidth(c, std::max(view->iconSize().width() + 6, view->columnWidth(c)));
    else
      view->setColumnWidth(c, std::min(view->columnWidth(c), 280));
    total += view->columnWidth(c);
    if (columns[c].kind == ColumnKind::Text &&
        (widest < 0 || view->columnWidth(c) > view->columnWidth(widest)))
      widest = c;
  }
  const int room = view->viewport()->width() - total;
  if (room > 0 && widest >= 0) view->setColumnWidth(widest, view->columnWidth(widest) + room);
}

}  // namespace

GridView::GridView(const char* name, const Table& table, Select select, Sort sort, QWidget* parent)
    : QTableView(parent), model_(new TableModel(table, this)) {
  setObjectName(name);
  if (sort == Sort::ByHeader) {
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::UserRole);  // numbers and prices by value, not by their text
    setModel(proxy_);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);  // the system's order first
    horizontalHeader()->setSortIndicatorShown(true);
    setSortingEnabled(true);
  } else {
    setModel(model_);
  }
  setSelectionBehavior(select == Select::Rows ? SelectRows : SelectItems);
  setSelectionMode(SingleSelection);
  setEditTriggers(NoEditTriggers);
  setWordWrap(false);
  setTabKeyNavigation(false);  // Tab leaves the grid, as in every other control
  setIconSize(QSize(24, 16));
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(20);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setMinimumSectionSize(18);
  const auto& columns = table.Columns();
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) setColumnHidden(c, columns[c].hidden);
  FitColumns(this, *model_);
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { FitColumns(this, *model_); });
}

void GridView::SetPictures(int column, std::vector<QPixmap> pictures) {
  model_->SetPictures(column, std::move(pictures));
}

void GridView::SetFlagPictures(int column) {
  model_->SetFlagPictures(column, FlagPictures(), OtherCountryFlag());
}

void GridView::SetTable(const Table& table) {
  model_->SetTable(table);
}

int GridView::SourceRow(const QModelIndex& index) const {
  return proxy_ ? proxy_->mapToSource(index).row() : index.row();
}

void GridView::SelectSourceRow(int row) {
  if (row < 0 || row >= model_->rowCount()) {
    clearSelection();
    return;
  }
  const QModelIndex source = model_->index(row, 0);
  const QModelIndex shown = proxy_ ? proxy_->mapFromSource(source) : source;
  selectRow(shown.row());
  scrollTo(shown);
}

void GridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitColumns(this, *model_);
}

void GridView::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
      currentIndex().isValid()) {
    emit doubleClicked(currentIndex());
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace trotix::gui
