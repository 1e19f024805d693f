// The grid adapter: what each role of a cell shows.
#include <QApplication>
#include <QFont>
#include <QTest>

#include "gui/display_text.h"
#include "gui/pictures.h"
#include "gui/table_model.h"

using namespace trotix;
using namespace trotix::gui;

class TableModelTest : public QObject {
  Q_OBJECT
 private slots:
  void showsEachCellKind();
  void showsEveryPriceWithAComma();
  void decodesBytesForDisplay();
  void keepsViewStateWhenOnlyCellsChange();
  void drawsEveryPictureList();
  void loadsEveryPictureFile();
};

namespace {

Table Sample() {
  Table t({{"", ColumnKind::Image, false, ""},
           {"Name Horse", ColumnKind::Text, false, ""},
           {"Kf", ColumnKind::Number, false, "Текущий кф"},
           {"URL", ColumnKind::Text, true, ""}});
  const int r = t.AddRow();
  t.SetImage(r, 0, 3);
  t.At(r, 0).hint = "France";
  t.SetText(r, 1, "Sea Breeze");
  t.SetNumber(r, 2, 4.5);
  t.SetColor(r, 2, colors::kLime);
  t.At(r, 2).bold = true;
  t.SetText(r, 3, "http://example.test/1");
  return t;
}

}  // namespace

void TableModelTest::showsEachCellKind() {
  TableModel m(Sample());
  m.SetPictures(0, FlagPictures());
  QCOMPARE(m.rowCount(), 1);
  QCOMPARE(m.columnCount(), 4);
  const QModelIndex flag = m.index(0, 0), name = m.index(0, 1), kf = m.index(0, 2);

  QVERIFY(!m.data(flag, Qt::DisplayRole).isValid());
  QCOMPARE(m.data(flag, Qt::ToolTipRole).toString(), QString("France"));
  const QPixmap shown = m.data(flag, Qt::DecorationRole).value<QPixmap>();
  QCOMPARE(shown.toImage(), FlagPictures()[3].toImage());

  QCOMPARE(m.data(name, Qt::DisplayRole).toString(), QString("Sea Breeze"));
  QCOMPARE(m.data(name, Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
  QVERIFY(!m.data(name, Qt::BackgroundRole).isValid());
  QVERIFY(!m.data(name, Qt::FontRole).isValid());

  QCOMPARE(m.data(kf, Qt::DisplayRole).toString(), QString("4,5"));
  QCOMPARE(m.data(kf, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
  QCOMPARE(m.data(kf, Qt::BackgroundRole).value<QBrush>().color(), QColor(0, 255, 0));
  QVERIFY(m.data(kf, Qt::FontRole).value<QFont>().bold());
  QVERIFY(!m.data(kf, Qt::ForegroundRole).isValid());  // dark text on a light colour
  QCOMPARE(m.data(kf, Qt::UserRole).toDouble(), 4.5);

  QCOMPARE(m.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Kf"));
  QCOMPARE(m.headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(), QString("Текущий кф"));

  // On a dark colour (the blue "Summa") the text turns white.
  Table t = Sample();
  t.SetColor(0, 2, Rgb{0, 0, 255});
  m.SetTable(t);
  QCOMPARE(m.data(m.index(0, 2), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::white));
  // A text colour the data set (a race number, a greyed non-runner) is the one shown.
  t.At(0, 2).fontColor = Rgb{150, 150, 150};
  m.SetTable(t);
  QCOMPARE(m.data(m.index(0, 2), Qt::ForegroundRole).value<QBrush>().color(),
           QColor(150, 150, 150));

  // An index outside the picture list shows no picture rather than a wrong one.
  t.SetImage(0, 0, 42);
  m.SetTable(t);
  QVERIFY(!m.data(m.index(0, 0), Qt::DecorationRole).isValid());

  // "USA" and the countries without a flag of their own share an index; the country the cell
  // names tells them apart.
  Table flags({{"", ColumnKind::Image, false, ""}});
  for (const char* country : {"USA", "Germany", ""}) {
    const int r = flags.AddRow();
    flags.SetImage(r, 0, 0);
    flags.At(r, 0).hint = country;
  }
  TableModel withFlags(flags);
  withFlags.SetFlagPictures(0, FlagPictures(), OtherCountryFlag());
  const auto picture = [&](int row) {
    return withFlags.data(withFlags.index(row, 0), Qt::DecorationRole).value<QPixmap>().toImage();
  };
  QCOMPARE(picture(0), FlagPictures()[0].toImage());
  QCOMPARE(picture(1), OtherCountryFlag().toImage());
  QCOMPARE(picture(2), OtherCountryFlag().toImage());
  QVERIFY(OtherCountryFlag().toImage() != FlagPictures()[0].toImage());
}

// Whichever separator a page wrote a price with, the grid shows the window's comma; other texts
// (a day "08.12") stay as written.
void TableModelTest::showsEveryPriceWithAComma() {
  Table t({{"Last Price", ColumnKind::Text, false, "", true},
           {"Day", ColumnKind::Text, false, ""},
           {"Kf", ColumnKind::Number, false, "", true}});
  const std::pair<const char*, QString> prices[] = {
      {"3.55", "3,55"}, {"6,2", "6,2"}, {"12", "12"}, {"1.01", "1,01"}, {"5000", "—"}};
  for (const auto& [text, shown] : prices) {
    const int r = t.AddRow();
    t.SetText(r, 0, text);
    t.SetText(r, 1, "08.12");
    t.SetNumber(r, 2, 3.55);
  }
  TableModel m(t);
  for (int r = 0; r < t.RowCount(); ++r) {
    QCOMPARE(m.data(m.index(r, 0), Qt::DisplayRole).toString(), prices[r].second);
    QCOMPARE(m.data(m.index(r, 1), Qt::DisplayRole).toString(), QString("08.12"));
    QCOMPARE(m.data(m.index(r, 2), Qt::DisplayRole).toString(), QString("3,55"));
  }
}

void TableModelTest::decodesBytesForDisplay() {
  QCOMPARE(gui::Display("Удалить"), QString::fromUtf8("Удалить"));
  // Not UTF-8: windows-1251, the vendor's charset.
  QCOMPARE(gui::Display(std::string("\xcf\xf0\xe8\xe7")), QString::fromUtf8("Приз"));
  QCOMPARE(gui::Input(QString::fromUtf8("ВХОД")), std::string("ВХОД"));

  Table t({{"Name", ColumnKind::Text, false, ""}});
  t.AddRow();
  t.SetText(0, 0, std::string("\xc8\xe2\xe0\xed"));
  TableModel m(t);
  QCOMPARE(m.data(m.index(0, 0), Qt::DisplayRole).toString(), QString::fromUtf8("Иван"));
}

void TableModelTest::keepsViewStateWhenOnlyCellsChange() {
  TableModel m(Sample());
  int resets = 0, changes = 0;
  connect(&m, &QAbstractItemModel::modelReset, [&] { ++resets; });
  connect(&m, &QAbstractItemModel::dataChanged, [&] { ++changes; });
  Table t = Sample();
  t.SetNumber(0, 2, 7);
  m.SetTable(t);
  QCOMPARE(resets, 0);
  QCOMPARE(changes, 1);
  QCOMPARE(m.data(m.index(0, 2), Qt::DisplayRole).toString(), QString("7"));
  t.AddRow();
  m.SetTable(t);
  QCOMPARE(resets, 1);
  QCOMPARE(m.rowCount(), 2);
}

void TableModelTest::drawsEveryPictureList() {
  // Other parts write these indexes; each must have a picture.
  QCOMPARE(FlagPictures().size(), size_t(9));
  QCOMPARE(PersonPictures().size(), size_t(4));
  QVERIFY(PlacePictures().size() >= 4);
  QCOMPARE(LinkPictures().size(), size_t(1));
  QCOMPARE(TabIcons().size(), size_t(12));
  QVERIFY(TrayFrames().size() > 1);
  // Flags are told apart by their pixels.
  const auto flags = FlagPictures();
  for (size_t a = 0; a < flags.size(); ++a)
    for (size_t b = a + 1; b < flags.size(); ++b)
      QVERIFY2(flags[a].toImage() != flags[b].toImage(),
               qPrintable(QString("%1 %2").arg(a).arg(b)));
  for (const QIcon& icon : TabIcons()) QVERIFY(!icon.pixmap(16, 16).isNull());
}

void TableModelTest::loadsEveryPictureFile() {
  // A missing or misspelt resource path loads as a null pixmap.
  const auto sized = [](const std::vector<QIcon>& icons, int side) {
    std::vector<QPixmap> p;
    for (const QIcon& icon : icons) p.push_back(icon.pixmap(side, side));
    return p;
  };
  const struct {
    const char* list;
    std::vector<QPixmap> pictures;
    QSize size;
  } lists[] = {
      {"flags", FlagPictures(), {24, 16}},
      {"other flag", {OtherCountryFlag()}, {24, 16}},
      {"link", LinkPictures(), {16, 16}},
      {"persons", PersonPictures(), {16, 16}},
      {"places", PlacePictures(), {16, 16}},
      {"tabs", sized(TabIcons(), 16), {16, 16}},
      {"tray", sized(TrayFrames(), 32), {32, 32}},
      {"buttons", sized({TvIcon(), ExchangeIcon(), SettingsIcon(), SignOutIcon()}, 16), {16, 16}},
      {"app", sized({AppIcon()}, 64), {64, 64}},
      {"about", {AboutBackground({802, 593})}, {802, 593}},
      {"about, larger", {AboutBackground({1280, 840})}, {1280, 840}},
  };
  for (const auto& l : lists)
    for (size_t i = 0; i < l.pictures.size(); ++i)
      QVERIFY2(!l.pictures[i].isNull() && l.pictures[i].size() == l.size,
               qPrintable(QString("%1 %2").arg(l.list).arg(i)));
}

QTEST_MAIN(TableModelTest)
#include "table_model_test.moc"
