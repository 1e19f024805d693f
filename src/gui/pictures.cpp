#include "pictures.h"

#include <QDebug>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <span>

#include "model/pictures.h"

// A static library's resources reach the program only through a named reference, so the loader
// names them. The macro has to sit outside any namespace.
static void InitPictureResources() {
  Q_INIT_RESOURCE(pictures);
}

namespace trotix::gui {
namespace {

constexpr QSize kFlagSize(24, 16), kMarkSize(16, 16), kTraySize(32, 32), kAboutSize(802, 593);
constexpr int kTrayFrames = 8;

// Each table is in its list's index order; nullptr stands for an empty cell.
constexpr const char* kFlagFiles[] = {
    ":/pictures/flags/usa.svg",          ":/pictures/flags/england.svg",
    ":/pictures/flags/ireland.svg",      ":/pictures/flags/france.svg",
    ":/pictures/flags/uae.svg",          ":/pictures/flags/india.svg",
    ":/pictures/flags/south-africa.svg", ":/pictures/flags/australia.svg",
    ":/pictures/flags/hong-kong.svg",
};
constexpr const char* kOtherFlagFile = ":/pictures/flags/other.svg";
constexpr const char* kLinkFiles[] = {":/pictures/marks/link.svg"};
constexpr const char* kPersonFiles[] = {
    nullptr,
    ":/pictures/marks/star.svg",
    ":/pictures/marks/trainer.svg",
    ":/pictures/marks/jockey.svg",
};
constexpr const char* kPlaceFiles[] = {
    nullptr,
    ":/pictures/places/gold-1.svg",
    ":/pictures/places/silver-2.svg",
    ":/pictures/places/bronze-3.svg",
    ":/pictures/places/disc-4.svg",
    ":/pictures/places/disc-5.svg",
    ":/pictures/places/disc-6.svg",
    ":/pictures/places/disc-7.svg",
    ":/pictures/places/disc-8.svg",
    ":/pictures/places/disc-9.svg",
};
constexpr const char* kTabFiles[] = {
    ":/pictures/tabs/today.svg",       ":/pictures/tabs/select-course.svg",
    ":/pictures/tabs/stats-horse.svg", ":/pictures/tabs/scalp-odds.svg",
    ":/pictures/tabs/indicator.svg",   ":/pictures/tabs/zorvat.svg",
    ":/pictures/tabs/tips.svg",        ":/pictures/tabs/result.svg",
    ":/pictures/tabs/all-table.svg",   ":/pictures/tabs/about.svg",
    ":/pictures/tabs/report.svg",      ":/pictures/tabs/proof.svg",
};
static_assert(std::size(kFlagFiles) == picture::kFlagCount);
static_assert(std::size(kPersonFiles) == picture::kPersonMarkCount);
static_assert(std::size(kPlaceFiles) == picture::kPlaceMarkCount);
static_assert(std::size(kLinkFiles) == picture::kLinkMark + 1);

constexpr const char* kTvFile = ":/pictures/buttons/tv.svg";
constexpr const char* kExchangeFile = ":/pictures/buttons/exchange.svg";
constexpr const char* kSettingsFile = ":/pictures/buttons/settings.svg";
constexpr const char* kSignOutFile = ":/pictures/buttons/sign-out.svg";
constexpr const char* kAboutFile = ":/pictures/about-background.svg";
constexpr const char* kAppFile = ":/pictures/trotix.svg";

// Renders a picture file at the size it is shown, turned about its centre by `turn` degrees.
// A file that does not load gives a null pixmap, which the tests catch.
QPixmap Picture(const char* file, QSize size, double turn = 0) {
  [[maybe_unused]] static const bool registered = (InitPictureResources(), true);
  QPixmap p(size);
  p.fill(Qt::transparent);
  if (!file) return p;
  QSvgRenderer svg(QString::fromLatin1(file));
  if (!svg.isValid()) {
    qWarning() << "cannot load picture" << file;
    return {};
  }
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.translate(size.width() / 2.0, size.height() / 2.0);
  g.rotate(turn);
  g.translate(-size.width() / 2.0, -size.height() / 2.0);
  svg.render(&g, QRectF(QPointF(0, 0), size));
  return p;
}

std::vector<QPixmap> Pictures(std::span<const char* const> files, QSize size) {
  std::vector<QPixmap> p;
  for (const char* file : files) p.push_back(Picture(file, size));
  return p;
}

// Sharp at the sizes asked for; Qt scales between them.
QIcon Icon(const char* file, std::initializer_list<int> sides) {
  QIcon icon;
  for (int side : sides) icon.addPixmap(Picture(file, QSize(side, side)));
  return icon;
}

}  // namespace

std::vector<QPixmap> FlagPictures() {
  return Pictures(kFlagFiles, kFlagSize);
}

QPixmap OtherCountryFlag() {
  return Picture(kOtherFlagFile, kFlagSize);
}

std::vector<QPixmap> LinkPictures() {
  return Pictures(kLinkFiles, kMarkSize);
}

std::vector<QPixmap> PersonPictures() {
  return Pictures(kPersonFiles, kMarkSize);
}

std::vector<QPixmap> PlacePictures() {
  return Pictures(kPlaceFiles, kMarkSize);
}

std::vector<QIcon> TabIcons() {
  std::vector<QIcon> t;
  for (const char* file : kTabFiles) t.push_back(Icon(file, {16, 32}));
  return t;
}

std::vector<QIcon> TrayFrames() {
  std::vector<QIcon> frames;
  for (int i = 0; i < kTrayFrames; ++i)
    frames.emplace_back(Picture(kAppFile, kTraySize, i * 360.0 / kTrayFrames));
  return frames;
}

QIcon TvIcon() {
  return Icon(kTvFile, {16, 32});
}

QIcon ExchangeIcon() {
  return Icon(kExchangeFile, {16, 32});
}

QIcon SettingsIcon() {
  return Icon(kSettingsFile, {16, 32});
}

QIcon SignOutIcon() {
  return Icon(kSignOutFile, {16, 32});
}

QPixmap AboutBackground(QSize size) {
  // Scaled evenly to cover the page and cut to it, so the horseshoe keeps its shape at any size.
  const QSizeF drawn(kAboutSize);
  const double scale = std::max(size.width() / drawn.width(), size.height() / drawn.height());
  const QSize cover = (drawn * scale).toSize().expandedTo(size);
  const QPixmap whole = Picture(kAboutFile, cover);
  if (whole.isNull()) return whole;
  return whole.copy(QRect(
      QPoint((cover.width() - size.width()) / 2, (cover.height() - size.height()) / 2), size));
}

QIcon AppIcon() {
  return Icon(kAppFile, {16, 32, 64, 128});
}

}  // namespace trotix::gui
