#include "gui/summa_chart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QHorizontalStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "gui/chart_style.h"
#include "gui/display_text.h"
#include "model/workspace.h"

namespace trotix::gui {
namespace {

// One colour per component, in R's column order.
constexpr QRgb kColours[SummaChart::kComponentCount] = {
    0x2e7d32,  // Rank
    0x1565c0,  // BF %
    0xef6c00,  // Scalp
    0x6a1b9a,  // RPR
    0x00838f,  // Indicator
    0xc62828,  // Tips1
    0x9e9d24,  // FR
    0x5d4037,  // Zorvat
};

}  // namespace

SummaChart::SummaChart(QWidget* parent)
    : QChartView(parent),
      series_(new QHorizontalStackedBarSeries),
      runners_(new QBarCategoryAxis),
      points_(new QValueAxis) {
  setObjectName("summaChart");
  setRenderHint(QPainter::Antialiasing);
  auto* chart = NewPlainChart(QMargins(0, 0, 4, 0), font());
  QFont small = font();
  small.setPixelSize(kChartFontPixels);

  const Table empty = Workspace().R;  // the columns, no rows
  for (int c = 0; c < kComponentCount; ++c) {
    auto* set = new QBarSet(Display(empty.Columns()[kFirstComponent + c].caption));
    set->setColor(QColor(kColours[c]));
    set->setBorderColor(QColor(kColours[c]).darker(120));
    set->setSelectedColor(QColor::fromHsl(0, 0, QColor(kColours[c]).lightness()));
    series_->append(set);
  }
  series_->setBarWidth(0.7);
  chart->addSeries(series_);

  QFont names = small;
  names.setPixelSize(9);  // twenty runners still get one label each
  runners_->setLabelsFont(names);
  runners_->setTruncateLabels(false);  // names are the point; the plot gives way
  chart->addAxis(runners_, Qt::AlignLeft);
  series_->attachAxis(runners_);
  points_->setLabelsFont(small);
  points_->setLabelFormat("%d");
  chart->addAxis(points_, Qt::AlignBottom);
  series_->attachAxis(points_);

  setChart(chart);

  connect(series_, &QAbstractBarSeries::hovered, this, [this](bool on, int row, QBarSet* set) {
    if (!on || row < 0 || row >= shown_.RowCount()) {
      QToolTip::hideText();
      return;
    }
    QToolTip::showText(QCursor::pos(), QString("%1\n%2: %3\nSumma: %4")
                                           .arg(Display(shown_.Text(row, r::kName)), set->label())
                                           .arg(set->at(row))
                                           .arg(shown_.Integer(row, r::kSumma)));
  });
  SetTable(empty);
}

void SummaChart::SetTable(const Table& r) {
  shown_ = r;
  const int rows = r.RowCount();
  QStringList names;
  QList<int> nonRunners;
  double low = 0, high = 0;
  for (int i = 0; i < rows; ++i) {
    QString name = Display(r.Text(i, r::kName));
    if (r.At(i, r::kName).hint == kNonRunner) {
      name += " (NR)";
      nonRunners << i;
    }
    // Categories must differ; a repeated name gets a trailing blank.
    while (names.contains(name)) name += ' ';
    names << name;
    double below = 0, above = 0;
    for (int c = 0; c < kComponentCount; ++c) {
      const double v = r.Number(i, kFirstComponent + c);
      (v < 0 ? below : above) += v;
    }
    low = std::min(low, below);
    high = std::max(high, above);
  }
  const auto sets = series_->barSets();
  for (int c = 0; c < kComponentCount; ++c) {
    QList<qreal> values;
    values.reserve(rows);
    for (int i = 0; i < rows; ++i) values << r.Number(i, kFirstComponent + c);
    sets[c]->remove(0, sets[c]->count());
    sets[c]->append(values);
    // A non-runner's bar stands greyed: selected bars take the selected colour.
    sets[c]->deselectAllBars();
    sets[c]->selectBars(nonRunners);
  }
  // A fresh axis for each race: one whose categories are replaced keeps drawing the last race's
  // names (when the new list is empty, or over the new ones).
  auto* runners = new QBarCategoryAxis;
  runners->setLabelsFont(runners_->labelsFont());
  runners->setTruncateLabels(false);
  runners->append(names);
  chart()->removeAxis(runners_);
  delete runners_;
  runners_ = runners;
  chart()->addAxis(runners_, Qt::AlignLeft);
  series_->attachAxis(runners_);
  const double step = NiceTickStep(high - low);
  // The step first: a new range laid out with the last race's step could mean thousands of
  // labels, seconds of the GUI thread.
  SetTickStep(points_, step);
  points_->setRange(std::floor(low / step) * step, std::max(step, std::ceil(high / step) * step));
}

}  // namespace trotix::gui
