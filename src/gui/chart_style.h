#pragma once

class QValueAxis;

namespace trotix::gui {

// A tick step of 1, 2 or 5 times a power of ten that gives about five ticks over the span.
double NiceTickStep(double span);

// Ticks every step from zero, so the axis reads in whole, round numbers.
void SetTickStep(QValueAxis* axis, double step);

}  // namespace trotix::gui
