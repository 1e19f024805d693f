#include "gui/pages/page_parts.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace trotix::gui {
namespace {

class ElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;
  QSize minimumSizeHint() const override { return {20, QLabel::minimumSizeHint().height()}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = contentsRect();
    p.setPen(palette().color(foregroundRole()));
    p.drawText(r, static_cast<int>(alignment()),
               fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
  }
};

}  // namespace

QVBoxLayout* PageColumn(QWidget* page, int margin) {
  auto* l = new QVBoxLayout(page);
  l->setContentsMargins(margin, margin, margin, margin);
  l->setSpacing(4);
  return l;
}

QPushButton* MakeButton(const char* name, const QString& caption) {
  auto* b = new QPushButton(caption);
  b->setObjectName(name);
  b->setMinimumHeight(26);
  return b;
}

QLabel* MakeLabel(const char* name, const QString& text) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  return label;
}

QLabel* MakeElidedLabel(const char* name, const QString& text) {
  auto* label = new ElidedLabel(text);
  label->setObjectName(name);
  label->setMinimumWidth(20);
  return label;
}

QFont Larger(QFont f, int extraPixels, bool bold) {
  const int base = f.pixelSize() > 0 ? f.pixelSize() : 12;
  f.setPixelSize(base + extraPixels);
  f.setBold(bold);
  return f;
}

}  // namespace trotix::gui
