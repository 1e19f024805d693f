#include "pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

namespace trotix::gui {
namespace {

constexpr int kFlagW = 24, kFlagH = 16;

QPixmap Blank(int w, int h) {
  QPixmap p(w, h);
  p.fill(Qt::transparent);
  return p;
}

template <class Draw>
QPixmap Flag(Draw draw) {
  QPixmap p = Blank(kFlagW, kFlagH);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  draw(g, QRectF(0, 0, kFlagW, kFlagH));
  g.setPen(QPen(QColor(90, 90, 90), 1));
  g.setBrush(Qt::NoBrush);
  g.drawRect(QRectF(0.5, 0.5, kFlagW - 1, kFlagH - 1));
  return p;
}

void Stripes(QPainter& g, const QRectF& r, std::initializer_list<QColor> colors, bool vertical) {
  const int n = static_cast<int>(colors.size());
  int i = 0;
  for (const QColor& c : colors) {
    QRectF part = vertical
                      ? QRectF(r.left() + r.width() * i / n, r.top(), r.width() / n, r.height())
                      : QRectF(r.left(), r.top() + r.height() * i / n, r.width(), r.height() / n);
    g.fillRect(part, c);
    ++i;
  }
}

void Star(QPainter& g, QPointF c, double outer, const QColor& color) {
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5;
    const double rad = i % 2 ? outer * 0.45 : outer;
    star << QPointF(c.x() + rad * std::cos(a), c.y() + rad * std::sin(a));
  }
  g.setPen(Qt::NoPen);
  g.setBrush(color);
  g.drawPolygon(star);
}

void UnionCanton(QPainter& g, const QRectF& r) {
  g.fillRect(r, QColor(1, 33, 105));
  g.setPen(QPen(Qt::white, 2.2));
  g.drawLine(r.topLeft(), r.bottomRight());
  g.drawLine(r.topRight(), r.bottomLeft());
  g.setPen(QPen(QColor(200, 16, 46), 1));
  g.drawLine(r.topLeft(), r.bottomRight());
  g.drawLine(r.topRight(), r.bottomLeft());
  g.setPen(Qt::NoPen);
  g.fillRect(QRectF(r.center().x() - 1.6, r.top(), 3.2, r.height()), Qt::white);
  g.fillRect(QRectF(r.left(), r.center().y() - 1.6, r.width(), 3.2), Qt::white);
  g.fillRect(QRectF(r.center().x() - 0.9, r.top(), 1.8, r.height()), QColor(200, 16, 46));
  g.fillRect(QRectF(r.left(), r.center().y() - 0.9, r.width(), 1.8), QColor(200, 16, 46));
}

template <class Draw>
QPixmap Icon16(Draw draw) {
  QPixmap p = Blank(16, 16);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  draw(g);
  return p;
}

QPixmap Rosette(const QColor& color, const QString& digit) {
  return Icon16([&](QPainter& g) {
    g.setPen(Qt::NoPen);
    g.setBrush(color.darker(130));
    g.drawPolygon(QPolygonF({QPointF(4, 9), QPointF(7, 15), QPointF(8, 11)}));
    g.drawPolygon(QPolygonF({QPointF(12, 9), QPointF(9, 15), QPointF(8, 11)}));
    QRadialGradient grad(QPointF(6, 4), 9);
    grad.setColorAt(0, color.lighter(150));
    grad.setColorAt(1, color);
    g.setBrush(grad);
    g.setPen(QPen(color.darker(160), 0.8));
    g.drawEllipse(QPointF(8, 6.5), 5.6, 5.6);
    QFont f;
    f.setPixelSize(8);
    f.setBold(true);
    g.setFont(f);
    g.setPen(QColor(60, 40, 0));
    g.drawText(QRectF(2.4, 1, 11.2, 11), Qt::AlignCenter, digit);
  });
}

QPixmap Disc(const QColor& color, const QString& text) {
  return Icon16([&](QPainter& g) {
    g.setPen(QPen(color.darker(150), 0.8));
    g.setBrush(color);
    g.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    g.setFont(f);
    g.setPen(Qt::white);
    g.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, text);
  });
}

// A rounded coloured square with a small white drawing on it: the tab icon style.
template <class Draw>
QIcon Badge(const QColor& color, Draw draw) {
  return QIcon(Icon16([&](QPainter& g) {
    QLinearGradient grad(0, 0, 0, 16);
    grad.setColorAt(0, color.lighter(130));
    grad.setColorAt(1, color.darker(115));
    g.setPen(QPen(color.darker(150), 0.8));
    g.setBrush(grad);
    g.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    g.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    draw(g);
  }));
}

QPixmap Horseshoe(int size, double turn, const QColor& color) {
  QPixmap p = Blank(size, size);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.translate(size / 2.0, size / 2.0);
  g.rotate(turn);
  g.scale(size / 32.0, size / 32.0);
  QPainterPath shoe;
  shoe.moveTo(-9, 12);
  shoe.cubicTo(-16, -2, -10, -13, 0, -13);
  shoe.cubicTo(10, -13, 16, -2, 9, 12);
  g.setPen(QPen(color, 6, Qt::SolidLine, Qt::FlatCap));
  g.setBrush(Qt::NoBrush);
  g.drawPath(shoe);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(255, 255, 255, 200));
  for (const QPointF& hole : {QPointF(-11, 2), QPointF(-8, -8), QPointF(8, -8), QPointF(11, 2)})
    g.drawEllipse(hole, 1.3, 1.3);
  return p;
}

}  // namespace

std::vector<QPixmap> FlagPictures() {
  std::vector<QPixmap> f;
  f.push_back(Flag([](QPainter& g, QRectF r) {  // USA
    for (int i = 0; i < 7; ++i)
      g.fillRect(QRectF(0, i * r.height() / 7, r.width(), r.height() / 7),
                 i % 2 ? Qt::white : QColor(178, 34, 52));
    const QRectF canton(0, 0, r.width() * 0.45, r.height() * 4 / 7);
    g.fillRect(canton, QColor(60, 59, 110));
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) g.drawEllipse(QPointF(1.6 + x * 2.6, 1.6 + y * 2.8), 0.6, 0.6);
  }));
  f.push_back(Flag([](QPainter& g, QRectF r) {  // England
    g.fillRect(r, Qt::white);
    g.fillRect(QRectF(r.center().x() - 1.6, 0, 3.2, r.height()), QColor(206, 17, 36));
    g.fillRect(QRectF(0, r.center().y() - 1.6, r.width(), 3.2), QColor(206, 17, 36));
  }));
  f.push_back(Flag([](QPainter& g, QRectF r) {  // Ireland
    Stripes(g, r, {QColor(22, 155, 98), Qt::white, QColor(255, 136, 62)}, true);
  }));
  f.push_back(Flag([](QPainter& g, QRectF r) {  // France
    Stripes(g, r, {QColor(0, 35, 149), Qt::white, QColor(237, 41, 57)}, true);
  }));
  f.push_back(Flag([](QPainter& g, QRectF r) {  // UAE
    Stripes(g, r, {QColor(0, 115, 47), Qt::white, Qt::black}, false);
    g.fillRect(QRectF(0, 0, r.width() / 4, r.height()), QColor(255, 0, 0));
  }));
  f.push_back(Flag([](QPainter& g, QRectF r) {  // India
    Stripes(g, r, {QColor(255, 153, 51), Qt::white, QColor(19, 136, 8)}, false);
    g.setPen(QPen(QColor(0, 0, 128), 0.9));
    g.setBrush(Qt::NoBrush);
    g.drawEllipse(r.center(), 2.2, 2.2);
  }));
  f.push_back(Flag([](QPainter& g, QRectF r) {  // South Africa
    Stripes(g, r, {QColor(224, 60, 49), QColor(0, 35, 149)}, false);
    const double w = r.width(), h = r.height(), m = h / 2;
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    g.drawPolygon(
        QPolygonF({QPointF(0, 0), QPointF(4, 0), QPointF(10, m - 3.2), QPointF(w, m - 3.2),
                   QPointF(w, m + 3.2), QPointF(10, m + 3.2), QPointF(4, h), QPointF(0, h)}));
    g.setBrush(QColor(0, 119, 73));
    g.drawPolygon(
        QPolygonF({QPointF(0, 0), QPointF(2.4, 0), QPointF(9, m - 2), QPointF(w, m - 2),
                   QPointF(w, m + 2), QPointF(9, m + 2), QPointF(2.4, h), QPointF(0, h)}));
    g.setBrush(QColor(255, 182, 18));
    g.drawPolygon(QPolygonF({QPointF(0, 2), QPointF(7, m), QPointF(0, h - 2)}));
    g.setBrush(Qt::black);
    g.drawPolygon(QPolygonF({QPointF(0, 3.4), QPointF(5.4, m), QPointF(0, h - 3.4)}));
  }));
  f.push_back(Flag([](QPainter& g, QRectF r) {  // Australia
    g.fillRect(r, QColor(1, 33, 105));
    UnionCanton(g, QRectF(0, 0, r.width() / 2, r.height() / 2));
    Star(g, QPointF(6, 12.2), 2.2, Qt::white);
    Star(g, QPointF(18, 4), 1.3, Qt::white);
    Star(g, QPointF(15.5, 8), 1.3, Qt::white);
    Star(g, QPointF(20.5, 9), 1.3, Qt::white);
    Star(g, QPointF(18, 13), 1.3, Qt::white);
  }));
  f.push_back(Flag([](QPainter& g, QRectF r) {  // Hong Kong
    g.fillRect(r, QColor(222, 41, 16));
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    for (int i = 0; i < 5; ++i) {
      g.save();
      g.translate(r.center());
      g.rotate(i * 72);
      g.drawEllipse(QPointF(0, -3.2), 1.8, 3.2);
      g.restore();
    }
  }));
  return f;
}

std::vector<QPixmap> LinkPictures() {
  return {Icon16([](QPainter& g) {
    g.setPen(QPen(QColor(20, 90, 200), 2, Qt::SolidLine, Qt::RoundCap));
    g.setBrush(Qt::NoBrush);
    g.save();
    g.translate(8, 8);
    g.rotate(-45);
    g.drawRoundedRect(QRectF(-7, -2.6, 7.5, 5.2), 2.6, 2.6);
    g.drawRoundedRect(QRectF(-0.5, -2.6, 7.5, 5.2), 2.6, 2.6);
    g.restore();
  })};
}

std::vector<QPixmap> PersonPictures() {
  std::vector<QPixmap> p;
  p.push_back(Blank(16, 16));
  p.push_back(Icon16([](QPainter& g) { Star(g, QPointF(8, 8.5), 7, QColor(240, 180, 0)); }));
  p.push_back(Icon16([](QPainter& g) {  // trainer: a flat cap
    g.setPen(QPen(QColor(60, 40, 20), 0.8));
    g.setBrush(QColor(139, 94, 52));
    QPainterPath cap;
    cap.moveTo(2, 11);
    cap.cubicTo(2, 3, 12, 3, 13, 9);
    cap.lineTo(15, 11);
    cap.closeSubpath();
    g.drawPath(cap);
    g.setPen(QPen(QColor(230, 210, 170), 1));
    g.drawLine(QPointF(4, 8), QPointF(11, 6));
  }));
  p.push_back(Icon16([](QPainter& g) {  // jockey: a quartered riding helmet
    g.setPen(QPen(QColor(80, 0, 0), 0.8));
    g.setBrush(QColor(220, 30, 30));
    g.drawChord(QRectF(2, 2, 12, 14), 0, 180 * 16);
    g.setBrush(QColor(250, 210, 0));
    g.drawPie(QRectF(2, 2, 12, 14), 45 * 16, 90 * 16);
    g.setBrush(QColor(40, 40, 40));
    g.drawRect(QRectF(1, 8.6, 14, 2));
  }));
  return p;
}

std::vector<QPixmap> PlacePictures() {
  std::vector<QPixmap> p;
  p.push_back(Blank(16, 16));
  p.push_back(Rosette(QColor(245, 195, 20), "1"));
  p.push_back(Rosette(QColor(190, 195, 205), "2"));
  p.push_back(Rosette(QColor(205, 127, 50), "3"));
  for (int i = 4; i <= 9; ++i) p.push_back(Disc(QColor(70, 110, 170), QString::number(i)));
  return p;
}

std::vector<QIcon> TabIcons() {
  std::vector<QIcon> t;
  t.push_back(Badge(QColor(40, 120, 200), [](QPainter& g) {  // Today: a calendar leaf
    g.drawRect(QRectF(3.5, 4.5, 9, 8));
    g.drawLine(QPointF(3.5, 7), QPointF(12.5, 7));
    g.drawLine(QPointF(6, 3), QPointF(6, 5));
    g.drawLine(QPointF(10, 3), QPointF(10, 5));
  }));
  t.push_back(Badge(QColor(90, 150, 60), [](QPainter& g) {  // Select Course: a flag on a pole
    g.drawLine(QPointF(4.5, 13), QPointF(4.5, 3));
    g.setBrush(Qt::white);
    g.drawPolygon(QPolygonF({QPointF(4.5, 3.5), QPointF(12, 5.5), QPointF(4.5, 8)}));
  }));
  t.push_back(Badge(QColor(120, 90, 170), [](QPainter& g) {  // Stats Horse: bars
    g.drawLine(QPointF(4.5, 12), QPointF(4.5, 8));
    g.drawLine(QPointF(8, 12), QPointF(8, 4));
    g.drawLine(QPointF(11.5, 12), QPointF(11.5, 6.5));
  }));
  t.push_back(Badge(QColor(210, 90, 40), [](QPainter& g) {  // Scalp Odds: price up and down
    g.drawLine(QPointF(5, 12), QPointF(5, 4));
    g.drawPolyline(QPolygonF({QPointF(3, 6), QPointF(5, 4), QPointF(7, 6)}));
    g.drawLine(QPointF(11, 4), QPointF(11, 12));
    g.drawPolyline(QPolygonF({QPointF(9, 10), QPointF(11, 12), QPointF(13, 10)}));
  }));
  t.push_back(Badge(QColor(200, 160, 20), [](QPainter& g) {  // Indicator BF: a dial
    g.drawArc(QRectF(3, 4, 10, 10), 0, 180 * 16);
    g.drawLine(QPointF(8, 9), QPointF(11, 5.5));
  }));
  t.push_back(Badge(QColor(150, 40, 60), [](QPainter& g) {  // Zorvat: a Z
    g.drawPolyline(QPolygonF(
        {QPointF(4.5, 4.5), QPointF(11.5, 4.5), QPointF(4.5, 11.5), QPointF(11.5, 11.5)}));
  }));
  t.push_back(Badge(QColor(30, 150, 140), [](QPainter& g) {  // Tips: a speech bubble
    g.drawRoundedRect(QRectF(3, 3.5, 10, 7), 2, 2);
    g.drawLine(QPointF(6, 10.5), QPointF(5, 13));
    g.drawPoint(QPointF(8, 7));
  }));
  t.push_back(Badge(QColor(60, 60, 60), [](QPainter& g) {  // Result: a chequered flag
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x)
        if ((x + y) % 2 == 0) g.drawRect(QRectF(3.5 + x * 3, 3.5 + y * 3, 3, 3));
    g.setPen(QPen(Qt::white, 1.2));
    g.drawLine(QPointF(3.5, 3.5), QPointF(3.5, 13));
  }));
  t.push_back(Badge(QColor(0, 110, 60), [](QPainter& g) {  // ALL TABLE: a grid
    g.setPen(QPen(Qt::white, 1));
    g.drawRect(QRectF(3.5, 3.5, 9, 9));
    g.drawLine(QPointF(3.5, 6.5), QPointF(12.5, 6.5));
    g.drawLine(QPointF(3.5, 9.5), QPointF(12.5, 9.5));
    g.drawLine(QPointF(7.5, 3.5), QPointF(7.5, 12.5));
  }));
  t.push_back(Badge(QColor(50, 90, 160), [](QPainter& g) {  // About: an "i"
    g.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    g.drawPoint(QPointF(8, 4.5));
    g.drawLine(QPointF(8, 7.5), QPointF(8, 12));
  }));
  t.push_back(Badge(QColor(170, 120, 40), [](QPainter& g) {  // Report: a page with lines
    g.drawRect(QRectF(4.5, 3, 7, 10));
    g.drawLine(QPointF(6, 6), QPointF(10, 6));
    g.drawLine(QPointF(6, 8.5), QPointF(10, 8.5));
    g.drawLine(QPointF(6, 11), QPointF(9, 11));
  }));
  return t;
}

std::vector<QIcon> TrayFrames() {
  std::vector<QIcon> frames;
  for (int i = 0; i < 8; ++i) frames.emplace_back(Horseshoe(32, i * 45.0, QColor(0, 110, 60)));
  return frames;
}

QIcon TvIcon() {
  return QIcon(Icon16([](QPainter& g) {
    g.setPen(QPen(QColor(40, 40, 40), 1));
    g.setBrush(QColor(30, 60, 110));
    g.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 1.5, 1.5);
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    g.drawPolygon(QPolygonF({QPointF(6.5, 5.5), QPointF(10.5, 8), QPointF(6.5, 10.5)}));
    g.setPen(QPen(QColor(40, 40, 40), 1));
    g.drawLine(QPointF(5, 14.5), QPointF(11, 14.5));
  }));
}

QIcon ExchangeIcon() {
  return QIcon(Icon16([](QPainter& g) {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 184, 12));
    g.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    g.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPolyline(QPolygonF({QPointF(3, 6), QPointF(11, 6)}));
    g.drawPolyline(QPolygonF({QPointF(9, 4), QPointF(11, 6), QPointF(9, 8)}));
    g.drawPolyline(QPolygonF({QPointF(13, 10.5), QPointF(5, 10.5)}));
    g.drawPolyline(QPolygonF({QPointF(7, 8.5), QPointF(5, 10.5), QPointF(7, 12.5)}));
  }));
}

QPixmap AboutBackground(QSize size) {
  QPixmap p(size);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(24, 58, 38));
  sky.setColorAt(0.62, QColor(46, 110, 64));
  sky.setColorAt(1, QColor(88, 150, 80));
  g.fillRect(p.rect(), sky);
  // The rails of a racecourse bend.
  g.setPen(QPen(QColor(255, 255, 255, 140), 3));
  g.setBrush(Qt::NoBrush);
  for (int i = 0; i < 2; ++i) {
    const double off = i * 26;
    QPainterPath rail;
    rail.moveTo(-20, size.height() * 0.80 + off);
    rail.cubicTo(size.width() * 0.35, size.height() * 0.62 + off, size.width() * 0.75,
                 size.height() * 0.98 + off, size.width() + 20, size.height() * 0.70 + off);
    g.drawPath(rail);
  }
  // The program's mark, large and faint.
  const QPixmap shoe = Horseshoe(220, 0, QColor(255, 255, 255, 40));
  g.drawPixmap(size.width() - 260, 40, shoe);
  return p;
}

QIcon AppIcon() {
  QIcon icon;
  for (int s : {16, 32, 64}) icon.addPixmap(Horseshoe(s, 0, QColor(0, 110, 60)));
  return icon;
}

}  // namespace trotix::gui
