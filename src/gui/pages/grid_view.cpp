#include "gui/pages/grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <algorithm>

#include "gui/pictures.h"
#include "gui/table_model.h"

namespace trotix::gui {
namespace {

// Widths that show every header and cell; pictures get a narrow column. Room left over goes to
// the widest text column, so names are not cut while a short last column sprawls.
void FitColumns(QTableView* view, const TableModel& model, bool spread = true) {
  // The sort arrow sits above the caption and needs no width of its own.
  QHeaderView* header = view->horizontalHeader();
  const bool arrow = header->isSortIndicatorShown();
  header->setSortIndicatorShown(false);
  view->resizeColumnsToContents();
  header->setSortIndicatorShown(arrow);
  // In the sorted column the arrow does take room beside the caption.
  if (const int sorted = header->sortIndicatorSection();
      arrow && sorted >= 0 && !view->isColumnHidden(sorted)) {
    const QString caption = model.headerData(sorted, Qt::Horizontal, Qt::DisplayRole).toString();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int mark = header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    const int needed = header->fontMetrics().horizontalAdvance(caption) + 4 * margin + mark;
    view->setColumnWidth(sorted, std::max(view->columnWidth(sorted), needed));
  }
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
  if (spread && room > 0 && widest >= 0)
    view->setColumnWidth(widest, view->columnWidth(widest) + room);
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
    connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this] { Fit(); });
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
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { Fit(); });
}

void GridView::Fit() {
  FitColumns(this, *model_, followMinimum_ < 0);
  if (followMinimum_ < 0) return;
  int total = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  for (int c = 0; c < model_->columnCount(); ++c)
    if (!isColumnHidden(c)) total += columnWidth(c);
  setFixedWidth(std::max(followMinimum_, total));
}

void GridView::SetWidthFollowsColumns(int minimum) {
  followMinimum_ = minimum;
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Fit();
}

void GridView::SetPictures(int column, std::vector<QPixmap> pictures) {
  model_->SetPictures(column, std::move(pictures));
}

void GridView::SetFlagPictures(int column) {
  model_->SetFlagPictures(column, FlagPictures(), OtherCountryFlag());
}

void GridView::SetTable(const Table& table) {
  if (model_->table() == table) return;
  const bool sameShape = model_->rowCount() == table.RowCount();
  model_->SetTable(table);
  // New rows refit on the model's reset; new texts in the same rows (prices where dashes were)
  // need the widths fitted again too.
  if (sameShape) Fit();
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
  FitColumns(this, *model_, followMinimum_ < 0);
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
