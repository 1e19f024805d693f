#pragma once
// The "Summa" of every runner of R as stacked bars of its eight components, so the user sees
// what puts the leader in front. Negative components stack below zero.
#include <QChartView>

#include "model/columns.h"
#include "table/table.h"

class QBarCategoryAxis;
class QHorizontalStackedBarSeries;
class QValueAxis;

namespace trotix::gui {

class SummaChart : public QChartView {
  Q_OBJECT
 public:
  // The eight components stand in R from "Rank" to "Zorvat", before "Summa".
  static constexpr int kFirstComponent = r::kRank, kComponentCount = r::kSumma - r::kRank;

  explicit SummaChart(QWidget* parent = nullptr);

  // One bar per row of `r`, in R's order (the highest sum ends on top).
  void SetTable(const Table& r);
  QHorizontalStackedBarSeries* series() const { return series_; }
  const Table& shownTable() const { return shown_; }

 private:
  QHorizontalStackedBarSeries* series_;
  QBarCategoryAxis* runners_;
  QValueAxis* points_;
  Table shown_;
};

}  // namespace trotix::gui
