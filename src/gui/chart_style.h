#pragma once
// The look the window's charts share: plain, still, small type, round numbers on the axes.
#include <QFont>
#include <QMargins>

class QChart;
class QValueAxis;

namespace trotix::gui {

// The pixel size of the charts' labels and legends.
constexpr int kChartFontPixels = 10;

// A chart without rounded corners or animation, its legend on top in `font` at the small size.
QChart* NewPlainChart(const QMargins& margins, QFont font);

// A tick step of 1, 2 or 5 times a power of ten that gives about five ticks over the span.
double NiceTickStep(double span);

// Ticks every step from zero, so the axis reads in whole, round numbers.
void SetTickStep(QValueAxis* axis, double step);

}  // namespace trotix::gui
