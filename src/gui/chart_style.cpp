#include "gui/chart_style.h"

#include <QChart>
#include <QLegend>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace trotix::gui {

QChart* NewPlainChart(const QMargins& margins, QFont font) {
  auto* chart = new QChart;
  chart->setMargins(margins);
  chart->setBackgroundRoundness(0);
  chart->setAnimationOptions(QChart::NoAnimation);
  font.setPixelSize(kChartFontPixels);
  chart->legend()->setAlignment(Qt::AlignTop);
  chart->legend()->setFont(font);
  return chart;
}

double NiceTickStep(double span) {
  const double raw = std::max(span, 1.0) / 5.0;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (raw <= m * power) return m * power;
  return 10.0 * power;
}

void SetTickStep(QValueAxis* axis, double step) {
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(step);
}

}  // namespace trotix::gui
