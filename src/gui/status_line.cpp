#include "gui/status_line.h"

#include <QPainter>
#include <QStyle>

namespace trotix::gui {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QString StatusLine::ShownText() const {
  // The middle goes: a path keeps its start and its file name, a failure its address and why.
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

QSize StatusLine::minimumSizeHint() const {
  return {1, QLabel::minimumSizeHint().height()};
}

void StatusLine::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(),
                        ShownText(), foregroundRole());
}

}  // namespace trotix::gui
