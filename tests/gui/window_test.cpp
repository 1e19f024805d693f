// The real window, offscreen, against the demo vendor server.
#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <fstream>
#include <memory>

#include "app/system_clock.h"
#include "gui/display_text.h"
#include "gui/launch.h"
#include "gui/main_window.h"
#include "gui/settings.h"
#include "gui/settings_dialog.h"
#include "gui/summa_chart.h"
#include "gui/tray_icon.h"
#include "model/columns.h"
#include "net/curl_http_client.h"
#include "text/dates.h"
#include "text/strings.h"
#include "vendorsim/vendor_sim.h"

#include "window_rig.h"

using namespace trotix;
using namespace trotix::gui;
using namespace trotix::gui::tests;

class WindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    // Whatever a test forgets to point elsewhere stays out of the user's folders.
    QStandardPaths::setTestModeEnabled(true);
    ApplyLook(*qApp);
  }
  void startShowsOnlyAbout();
  void rememberMeFileFillsTheFields();
  void wrongPasswordKeepsTheFieldsEditable();
  void signInShowsTheWorkingPages();
  void loadFillsResultsAndOnlyTheLinkOpens();
  void emptyResultsShowNoInformationWithoutFreezing();
  void outdatedReleaseOpensTheUpdatePageAndCloses();
  void slowServerKeepsTheWindowResponsiveAndGuarded();
  void screenshotIsTheWholeWindow();
  void analysisFillsAllTableTheChartAndTheLinks();
  void reportAddsDeletesSavesAndExports();
  void bestRankFillsTheReportAndCancelKeepsItsRows();
  void allTableHoldsOneRaceAtEveryStep();
  void missingPricesThePrizeAndWherePricesCameFrom();
  void sortedViewsActOnTheRowClicked();
  void settingsAreKeptAndTheCommandLineWinsForItsRun();
  void keptSettingsBeyondTheirLimitsAreBroughtWithinAndSaid();
  void windowResizesAndComesBackAsItWasLeft();
  void keyboardReachesThePagesTheRowsAndTheButtons();
  void saveAsSignOutAndTheQuestionOnClosing();
  void refreshLoadsTheMovesAfreshFromASlowServer();
  void trayMenuOpensAndEachEntryWorks();
  void allTableShowsWhatIsInMemoryWhileTheExchangeStalls();
  void allTableFitsItsPricesAndTheChartDrawsOneRace();
  void deleteTakesTheRowChosenByKeyboardOrRightClick();
};

void WindowTest::startShowsOnlyAbout() {
  Rig rig;
  MainWindow& w = rig.Open();
  QCOMPARE(w.windowTitle(), QString("Trotix"));
  QCOMPARE(w.size(), QSize(802, 623));
  QVERIFY(rig.StartAndWait());
  QCOMPARE(rig.VisibleTabs(), QStringList{"About"});
  QCOMPARE(rig.Find<QTabWidget>("pages")->currentWidget()->objectName(), QString("signInPage"));
  QCOMPARE(rig.Find<QLineEdit>("loginEdit")->text(), QString());
  QVERIFY(!rig.Find<QCheckBox>("rememberMeBox")->isChecked());
  QCOMPARE(rig.Find<QLineEdit>("passwordEdit")->echoMode(), QLineEdit::Password);
  QCOMPARE(rig.Find<QLineEdit>("resultsDateEdit")->text(),
           QString::fromStdString(FormatDate(Today())));
  QCOMPARE(rig.Find<QPushButton>("signInButton")->text(), QString("ВХОД"));
  QVERIFY(rig.Find<QLabel>("versionLabel")->text() == "VERSION: 3.8");
  // Hidden controls exist and stay hidden.
  QVERIFY(!rig.Find<QFrame>("progressPanel")->isVisible());
  QVERIFY(!rig.Find<QProgressBar>("pr2")->isVisibleTo(rig.Find<QFrame>("progressPanel")));
  QVERIFY(!rig.Find<QLabel>("bfnumber")->isVisibleTo(&w));
  QVERIFY(!rig.Find<QPushButton>("tvButton")->isEnabled());
  QVERIFY(!rig.Find<QPushButton>("exchangeButton")->isEnabled());
  QCOMPARE(rig.Find<QPushButton>("tvButton")->toolTip(), QString("TV Translation"));
  QCOMPARE(rig.Find<QPushButton>("exchangeButton")->toolTip(), QString("Go to Betfair"));
  // Grid columns as the system lays them out.
  auto* tab = rig.Find<QTableView>("TAB");
  QCOMPARE(tab->model()->columnCount(), 29);
  for (int hidden : {2, 8, 9, 13, 14, 15, 17, 19, 20, 24, 25, 26, 28})
    QVERIFY2(tab->isColumnHidden(hidden), qPrintable(QString::number(hidden)));
  QVERIFY(!tab->isColumnHidden(27));
  QCOMPARE(rig.Find<QTableView>("REZ")->isColumnHidden(11), true);
  QCOMPARE(rig.Find<QTableView>("RT")->selectionBehavior(), QAbstractItemView::SelectRows);
  QCOMPARE(tab->selectionBehavior(), QAbstractItemView::SelectItems);
  // Lists the user reads sort by a header click, starting in the system's order; TAB does not.
  QVERIFY(rig.Find<QTableView>("RT")->isSortingEnabled());
  QCOMPARE(rig.Find<QTableView>("RT")->horizontalHeader()->sortIndicatorSection(), -1);
  QVERIFY(!tab->isSortingEnabled());
}

void WindowTest::rememberMeFileFillsTheFields() {
  Rig rig;
  std::ofstream(rig.folder.filePath("tx.log").toStdString(), std::ios::binary)
      << "rider\r\nse cret&1\r\n";
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QCOMPARE(rig.Find<QLineEdit>("loginEdit")->text(), QString("rider"));
  QCOMPARE(rig.Find<QLineEdit>("passwordEdit")->text(), QString("se cret&1"));
  QVERIFY(rig.Find<QCheckBox>("rememberMeBox")->isChecked());
}

void WindowTest::wrongPasswordKeepsTheFieldsEditable() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "wrong"));
  QCOMPARE(rig.messages, QStringList{"Autorization Failed!"});
  QVERIFY(rig.Find<QLineEdit>("loginEdit")->isEnabled());
  QVERIFY(rig.Find<QLineEdit>("passwordEdit")->isEnabled());
  QVERIFY(rig.Find<QPushButton>("signInButton")->isEnabled());
  QCOMPARE(rig.VisibleTabs(), QStringList{"About"});
  // A second try with the right password goes through.
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.VisibleTabs(), kWorkingTabs);
}

void WindowTest::signInShowsTheWorkingPages() {
  Rig rig;
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  rig.Find<QCheckBox>("rememberMeBox")->setChecked(true);
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.messages, QStringList());
  QCOMPARE(rig.VisibleTabs(), kWorkingTabs);
  QCOMPARE(rig.Find<QTabWidget>("pages")->currentIndex(), 0);
  const int races = rig.Find<QTableView>("RT")->model()->rowCount();
  QCOMPARE(races, static_cast<int>(rig.server->day().races.size()));
  QVERIFY(races > 0);
  QCOMPARE(rig.Find<QLabel>("glavcount")->text(), QString("Count: %1  ").arg(races));
  QCOMPARE(rig.Find<QTableView>("MM")->model()->rowCount(), races);
  QCOMPARE(rig.Find<QTableView>("NX")->model()->rowCount(), races);
  QVERIFY(rig.Find<QTableView>("TIPS")->model()->rowCount() > 0);
  QVERIFY(rig.Find<QTableView>("LG")->model()->rowCount() > 0);
  QVERIFY(!rig.Find<QLineEdit>("loginEdit")->isEnabled());
  QVERIFY(!rig.Find<QCheckBox>("rememberMeBox")->isEnabled());
  QVERIFY(QFile::exists(rig.folder.filePath("tx.log")));
  // Flags come with the country as the tooltip.
  auto* rt = rig.Find<QTableView>("RT")->model();
  QVERIFY(rt->data(rt->index(0, 0), Qt::DecorationRole).isValid());
  QVERIFY(!rt->data(rt->index(0, 0), Qt::ToolTipRole).toString().isEmpty());
  QCOMPARE(w.shown().view.signedIn, true);

  // A double-click on a race of "Zorvat" scores it.
  rig.Find<QTabWidget>("pages")->setCurrentIndex(5);
  auto* nx = rig.Find<QTableView>("NX");
  const int n = w.shown().command;
  const QModelIndex race = nx->model()->index(0, 1);
  const QPoint at = nx->visualRect(race).center();
  QTest::mousePress(nx->viewport(), Qt::LeftButton, {}, at);  // the view pairs it with the dbl
  QTest::mouseDClick(nx->viewport(), Qt::LeftButton, {}, at);
  QVERIFY(rig.Wait(n + 1));
  QCOMPARE(rig.Find<QLabel>("e2")->text(), race.data().toString());
  QVERIFY(rig.Find<QTableView>("H")->model()->rowCount() > 0);
}

void WindowTest::loadFillsResultsAndOnlyTheLinkOpens() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  rig.Find<QTabWidget>("pages")->setCurrentIndex(7);
  const int before = rig.window->shown().command;
  QTest::mouseClick(rig.Find<QPushButton>("loadResultsButton"), Qt::LeftButton);
  QVERIFY(rig.Wait(before + 1));
  auto* rez = rig.Find<QTableView>("REZ");
  const int rows = rez->model()->rowCount();
  QVERIFY(rows > 0);
  for (int r = 1; r < rows; ++r)
    QVERIFY(rez->model()->index(r - 1, 1).data().toString() <=
            rez->model()->index(r, 1).data().toString());
  QVERIFY(!rig.Find<QFrame>("viz")->isVisible());
  QCOMPARE(rig.Find<QTabWidget>("pages")->currentIndex(), 7);  // the user's page stays

  const QString address = rez->model()->index(0, 11).data().toString();
  QVERIFY(address.startsWith("http"));
  int n = rig.window->shown().command;
  rig.ClickCell(rez, 0, 1);   // "Time": nothing
  rig.ClickCell(rez, 0, 12);  // "Link"
  QVERIFY(rig.Wait(n + 1));
  QCOMPARE(rig.opened, QStringList{address});
}

void WindowTest::emptyResultsShowNoInformationWithoutFreezing() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  rig.Find<QTabWidget>("pages")->setCurrentIndex(7);
  rig.Find<QLineEdit>("resultsDateEdit")->setText("01.01.2099");
  QVERIFY(rig.Wait(rig.window->LoadResults()));
  QCOMPARE(rig.Find<QTableView>("REZ")->model()->rowCount(), 0);
  auto* viz = rig.Find<QFrame>("viz");
  QVERIFY(viz->isVisible());
  auto* timer = rig.Find<QTimer>("vizTimer");
  QVERIFY(timer->isActive());
  QVERIFY2(timer->remainingTime() > 3000 && timer->remainingTime() <= 5000,
           qPrintable(QString::number(timer->remainingTime())));
  // The window goes on working meanwhile: another load runs and ends.
  QVERIFY(rig.Find<QPushButton>("loadResultsButton")->isEnabled());
  rig.Find<QLineEdit>("resultsDateEdit")->setText(QString::fromStdString(FormatDate(Today())));
  QVERIFY(rig.Wait(rig.window->LoadResults()));
  QVERIFY(!viz->isVisible());
  QVERIFY(rig.Find<QTableView>("REZ")->model()->rowCount() > 0);
}

void WindowTest::outdatedReleaseOpensTheUpdatePageAndCloses() {
  Rig rig;
  rig.server->Override("/refresh/trotix3.8.txt", "gone", 404);
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.messages.size(), 1);
  QVERIFY(rig.messages[0].startsWith("Update New Version Programm Please!\n\rGo to site "));
  QVERIFY(rig.messages[0].endsWith("\n\rОбновите программу с сайта!"));
  QCOMPARE(rig.opened.size(), 1);
  QVERIFY(rig.opened[0].endsWith("/index.php?option=com_content&view=article&id=106&Itemid=24"));
  QVERIFY(!w.isVisible());
}

void WindowTest::slowServerKeepsTheWindowResponsiveAndGuarded() {
  Rig rig(1200);
  MainWindow& w = rig.Open();
  int ticks = 0;
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(20);
  QVERIFY(rig.StartAndWait());
  rig.Find<QLineEdit>("loginEdit")->setText("demo");
  rig.Find<QLineEdit>("passwordEdit")->setText("demo");
  const int signIn = w.SignIn();
  QVERIFY(signIn > 0);
  // A second command cannot start while the first runs.
  QVERIFY(w.runner().busy());
  QCOMPARE(w.SignIn(), 0);
  QCOMPARE(w.LoadResults(), 0);
  QVERIFY(!rig.Find<QPushButton>("signInButton")->isEnabled());
  QVERIFY(!rig.Find<QPushButton>("loadResultsButton")->isEnabled());
  // The progress panel comes up with Cancel in reach, and the window paints.
  QTRY_VERIFY_WITH_TIMEOUT(rig.Find<QFrame>("progressPanel")->isVisible(), 1000);
  QVERIFY(w.runner().busy());
  QVERIFY(!w.grab().isNull());
  // Cancel ends the sign-in at once, its requests in flight included: a sign-in takes several
  // answers of 1.2 s each.
  auto* cancel = rig.Find<QPushButton>("progressCancel");
  QElapsedTimer sinceCancel;
  sinceCancel.start();
  QTest::mouseClick(cancel, Qt::LeftButton);
  QVERIFY(w.ports().cancelRequested());
  QVERIFY(!cancel->isEnabled());
  QVERIFY(rig.Wait(signIn));
  QVERIFY2(sinceCancel.elapsed() < 1000, qPrintable(QString::number(sinceCancel.elapsed())));
  QVERIFY(ticks > 20);  // the event loop ran all along
  QVERIFY(!rig.Find<QFrame>("progressPanel")->isVisible());
  QVERIFY(rig.Find<QPushButton>("signInButton")->isEnabled());
  QCOMPARE(rig.VisibleTabs(), QStringList{"About"});
  QCOMPARE(rig.messages, QStringList());  // the user's own Cancel needs no box
}

void WindowTest::screenshotIsTheWholeWindow() {
  Rig rig;
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  QVERIFY(SelectPage(w, "ALL TABLE"));
  QVERIFY(!SelectPage(w, "No such page"));
  const QString path = rig.folder.filePath("window.png");
  QVERIFY(SaveScreenshot(w, path));
  const QImage shot(path);
  QCOMPARE(shot.size(), QSize(802, 623));
}

// The chart shows R as the grid shows it: one bar per runner in R's order, one stacked piece per
// component, the pieces adding up to "Summa".
static void CheckChartMatchesR(MainWindow& w) {
  auto* view = w.findChild<SummaChart*>("summaChart");
  QVERIFY(view);
  const QAbstractItemModel* r = w.findChild<QTableView*>("R")->model();
  const auto series = view->chart()->series();
  QCOMPARE(series.size(), 1);
  auto* bars = qobject_cast<QHorizontalStackedBarSeries*>(series[0]);
  QVERIFY(bars);
  QCOMPARE(bars->count(), 8);
  const auto axes = bars->attachedAxes();
  QStringList categories;
  for (QAbstractAxis* axis : axes)
    if (auto* c = qobject_cast<QBarCategoryAxis*>(axis)) categories = c->categories();
  QCOMPARE(categories.size(), r->rowCount());
  for (int i = 0; i < r->rowCount(); ++i) {
    QString category = categories[i].trimmed();
    category.remove(" (NR)");  // a non-runner's bar says so
    QCOMPARE(category, r->index(i, 0).data().toString().trimmed());
    double sum = 0;
    for (int c = 0; c < 8; ++c) {
      QBarSet* set = bars->barSets()[c];
      QCOMPARE(set->label(), r->headerData(c + 1, Qt::Horizontal).toString());
      QCOMPARE(set->count(), r->rowCount());
      QCOMPARE(set->at(i), r->index(i, c + 1).data(Qt::UserRole).toDouble());
      sum += set->at(i);
    }
    QCOMPARE(sum, r->index(i, 9).data(Qt::UserRole).toDouble());
  }
}

void WindowTest::analysisFillsAllTableTheChartAndTheLinks() {
  Rig rig;
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  auto* page = rig.Find<QTabWidget>("pages");
  page->setCurrentIndex(kPageAllTable);
  const int race = rig.RaceWithMarket();
  QVERIFY(race >= 0);

  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("MM"), race, 1); }));
  const int runners = rig.Find<QTableView>("TAB")->model()->rowCount();
  QVERIFY(runners > 0);
  QCOMPARE(rig.Find<QTableView>("R")->model()->rowCount(), runners);
  const int shortList = rig.Find<QTableView>("RR")->model()->rowCount();
  QVERIFY(shortList >= 2 && shortList <= 4);
  CheckChartMatchesR(w);
  const QString market = rig.Find<QLabel>("bfnumber")->text();
  QVERIFY(!market.isEmpty());
  QVERIFY(rig.Find<QPushButton>("tvButton")->isEnabled());
  QVERIFY(rig.Find<QPushButton>("exchangeButton")->isEnabled());

  QVERIFY(rig.Do([&] { QTest::mouseClick(rig.Find<QPushButton>("tvButton"), Qt::LeftButton); }));
  QCOMPARE(rig.opened.size(), 1);
  QVERIFY2(rig.InFolder(rig.opened[0], "video.html"), qPrintable(rig.opened[0]));
  QVERIFY(
      rig.Do([&] { QTest::mouseClick(rig.Find<QPushButton>("exchangeButton"), Qt::LeftButton); }));
  QCOMPARE(rig.opened.size(), 2);
  QVERIFY2(rig.opened[1].startsWith("http") && rig.opened[1].endsWith("/market/1." + market),
           qPrintable(rig.opened[1]));

  // The same race from "Today": no live data, so no market, and ALL TABLE comes to the front.
  page->setCurrentIndex(kPageToday);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("RT"), race, 1); }));
  QCOMPARE(page->currentIndex(), static_cast<int>(kPageAllTable));
  QVERIFY(!rig.Find<QPushButton>("tvButton")->isEnabled());
  QVERIFY(!rig.Find<QPushButton>("exchangeButton")->isEnabled());
  QVERIFY(rig.Find<QLabel>("bfnumber")->text().isEmpty());
  QCOMPARE(rig.Find<QTableView>("R")->model()->rowCount(), runners);
  CheckChartMatchesR(w);
  QCOMPARE(rig.messages, QStringList());
}

void WindowTest::reportAddsDeletesSavesAndExports() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  auto* page = rig.Find<QTabWidget>("pages");
  page->setCurrentIndex(kPageToday);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("RT"), 0, 1); }));
  auto* tab = rig.Find<QTableView>("TAB");
  QVERIFY(tab->model()->rowCount() > 1);
  const QString name = tab->model()->index(1, 1).data().toString();

  QVERIFY(rig.Do([&] { rig.DoubleClickCell(tab, 1, 6); }));
  QCOMPARE(rig.messages, QStringList{"Add to Report"});
  auto* rep = rig.Find<QTableView>("REP");
  QCOMPARE(rep->model()->rowCount(), 1);
  QCOMPARE(rep->model()->index(0, 2).data().toString(), name);
  QCOMPARE(rep->model()->index(0, 4).data().toString(), QString("MySystem"));

  page->setCurrentIndex(kPageReport);
  auto* deleteRow = rig.window->findChild<QAction*>("deleteReportRowAction");
  QVERIFY(deleteRow && deleteRow->isEnabled());
  QVERIFY(rig.Do([&] { deleteRow->trigger(); }));
  QCOMPARE(rig.messages.last(), QString("Select Please Horse"));
  QCOMPARE(rep->model()->rowCount(), 1);

  QVERIFY(rig.Do(
      [&] { QTest::mouseClick(rig.Find<QPushButton>("saveReportButton"), Qt::LeftButton); }));
  QCOMPARE(rig.opened.size(), 1);
  QVERIFY2(rig.InFolder(rig.opened[0], "report.html"), qPrintable(rig.opened[0]));
  auto* csv = rig.Find<QPushButton>("exportCsvButton");
  QCOMPARE(csv->text(), QString("Export CSV"));
  QVERIFY(rig.Do([&] { QTest::mouseClick(csv, Qt::LeftButton); }));
  QVERIFY(QFile::exists(rig.folder.filePath("report.csv")));
  QFile written(rig.folder.filePath("report.csv"));
  QVERIFY(written.open(QIODevice::ReadOnly));
  QVERIFY(QString::fromUtf8(written.readAll()).contains(name));

  // A clicked row is the one deleted.
  QVERIFY(rig.Do([&] { rig.ClickCell(rep, 0, 2); }));
  QVERIFY(rig.Do([&] { deleteRow->trigger(); }));
  QCOMPARE(rep->model()->rowCount(), 0);
  QCOMPARE(rig.messages.size(), 2);
}

// Against a server answering each request in 200 ms.
void WindowTest::bestRankFillsTheReportAndCancelKeepsItsRows() {
  Rig rig(200);
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  rig.Find<QTabWidget>("pages")->setCurrentIndex(kPageReport);
  const int races = rig.Find<QTableView>("MM")->model()->rowCount();
  auto* rep = rig.Find<QTableView>("REP")->model();
  auto* pr2 = rig.Find<QProgressBar>("pr2");
  auto* caption = rig.Find<QLabel>("progressCaption");
  auto* bestRank = rig.Find<QPushButton>("bestRankButton");
  QVERIFY(rig.Find<QCheckBox>("fromRealOddsBox")->isChecked());

  // Every race is shown as it ends, its name in the panel: the gauge counts it, REP only grows,
  // and the first rows come long before the run ends.
  int steps = 0, lastRows = 0;
  qint64 firstRowAt = -1;
  bool growing = true, gauged = true, named = true;
  QElapsedTimer run;
  auto watch = connect(&w, &MainWindow::stepShown, [&] {
    ++steps;
    growing = growing && rep->rowCount() >= lastRows;
    lastRows = rep->rowCount();
    if (firstRowAt < 0 && lastRows > 0) firstRowAt = run.elapsed();
    gauged = gauged && pr2->isVisible() && pr2->value() == steps && pr2->maximum() == races;
    named =
        named && caption->text().startsWith(QString("Best Rank %1/%2 — ").arg(steps).arg(races));
  });
  run.start();
  QVERIFY(rig.Do([&] { QTest::mouseClick(bestRank, Qt::LeftButton); }));
  const qint64 wholeRun = run.elapsed();
  disconnect(watch);
  QCOMPARE(steps, races);
  QVERIFY(growing);
  QVERIFY(gauged);
  QVERIFY2(named, qPrintable(caption->text()));
  QVERIFY2(firstRowAt >= 0 && firstRowAt < wholeRun / 2,
           qPrintable(QString("%1 of %2 ms").arg(firstRowAt).arg(wholeRun)));
  const int full = rep->rowCount();
  QCOMPARE(full, lastRows);
  QVERIFY(full > 1);
  for (int i = 0; i < full; ++i) {
    QCOMPARE(rep->index(i, 4).data().toString(), QString("Best Rank"));
    QVERIFY(!rep->index(i, 2).data().toString().isEmpty());
  }
  QVERIFY(!pr2->isVisible());
  QVERIFY(!rig.Find<QFrame>("progressPanel")->isVisible());
  QCOMPARE(caption->text(), QString("Load data...."));

  QVERIFY(rig.Do(
      [&] { QTest::mouseClick(rig.Find<QPushButton>("clearReportButton"), Qt::LeftButton); }));
  QCOMPARE(rep->rowCount(), 0);

  // Cancel pressed a moment after the first row, while the next pages are on their way: the
  // command ends at once, with exactly the rows on screen at the click, and asks for nothing more.
  int rowsAtCancel = -1, stepsAtCancel = -1;
  QElapsedTimer sinceCancel;
  qint64 endedAfter = -1;
  steps = 0;
  watch = connect(&w, &MainWindow::stepShown, [&] {
    ++steps;
    if (rep->rowCount() == 0 || sinceCancel.isValid()) return;
    sinceCancel.start();  // marks the first row; restarted at the click
    QTimer::singleShot(50, &w, [&] {
      auto* cancel = rig.Find<QPushButton>("progressCancel");
      QVERIFY(cancel->isVisible() && cancel->isEnabled());
      rowsAtCancel = rep->rowCount();
      stepsAtCancel = steps;
      sinceCancel.start();
      QTest::mouseClick(cancel, Qt::LeftButton);
    });
  });
  auto ended =
      connect(&w, &MainWindow::commandFinished, [&] { endedAfter = sinceCancel.elapsed(); });
  QVERIFY(rig.Do([&] { QTest::mouseClick(bestRank, Qt::LeftButton); }));
  disconnect(watch);
  disconnect(ended);
  const int requests = rig.server->Requests("*");
  QVERIFY(rowsAtCancel > 0);
  QVERIFY2(endedAfter >= 0 && endedAfter < 1000, qPrintable(QString::number(endedAfter)));
  QCOMPARE(steps, stepsAtCancel);
  QVERIFY(stepsAtCancel < races);
  QCOMPARE(rep->rowCount(), rowsAtCancel);
  QVERIFY(rowsAtCancel < full);
  QVERIFY(bestRank->isEnabled());
  QVERIFY(!pr2->isVisible());
  QCOMPARE(rig.messages, QStringList());
  QTest::qWait(2 * 200);
  QCOMPARE(rig.server->Requests("*"), requests);
}

// Header, TAB, R, RR, the chart, the TV button and the race list tell of one race, or are empty.
static void CheckOneRace(Rig& rig, const char* step) {
  const ViewState& view = rig.window->shown().view;
  const int race = view.raceOnScreen;
  QVERIFY2(race >= 0, step);
  auto* mm = rig.Find<QTableView>("MM");
  QCOMPARE(rig.Find<QLabel>("u1")->text(), mm->model()->index(race, mm::kTime).data().toString());
  QVERIFY2(rig.Find<QLabel>("u2")->text().endsWith(
               mm->model()->index(race, mm::kCourse).data().toString()),
           step);
  const auto selected = mm->selectionModel()->selectedRows();
  QVERIFY2(selected.size() == 1 && selected[0].row() == race, step);
  QSet<QString> runners;
  auto* tab = rig.Find<QTableView>("TAB")->model();
  for (int i = 0; i < tab->rowCount(); ++i) runners << tab->index(i, tab::kName).data().toString();
  auto* r = rig.Find<QTableView>("R")->model();
  QVERIFY2(r->rowCount() == 0 || r->rowCount() == tab->rowCount(), step);
  for (int i = 0; i < r->rowCount(); ++i)
    QVERIFY2(runners.contains(r->index(i, r::kName).data().toString()), step);
  auto* rr = rig.Find<QTableView>("RR")->model();
  QVERIFY2(r->rowCount() > 0 || rr->rowCount() == 0, step);
  for (int i = 0; i < rr->rowCount(); ++i)
    QVERIFY2(runners.contains(rr->index(i, rr::kName).data().toString()), step);
  CheckChartMatchesR(*rig.window);
  // The buttons work only for a market of this race: its exchange runners are T2's.
  if (rig.Find<QPushButton>("tvButton")->isEnabled()) {
    QCOMPARE(rig.Find<QLabel>("spSkinLabel3")->text().trimmed(), rig.Find<QLabel>("u1")->text());
    QVERIFY(!rig.Find<QLabel>("bfnumber")->text().isEmpty());
  }
}

void WindowTest::allTableHoldsOneRaceAtEveryStep() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  auto* page = rig.Find<QTabWidget>("pages");
  page->setCurrentIndex(kPageReport);
  rig.Find<QCheckBox>("fromRealOddsBox")->setChecked(false);
  QVERIFY(rig.Do(
      [&] { QTest::mouseClick(rig.Find<QPushButton>("bestRecomingButton"), Qt::LeftButton); }));
  CheckOneRace(rig, "after Best Recoming");
  const int last = rig.window->shown().view.raceOnScreen;
  QCOMPARE(last, rig.Find<QTableView>("MM")->model()->rowCount() - 1);

  // Scoring another race reloads the header and TAB: nothing of the last race stays.
  page->setCurrentIndex(kPageZorvat);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("NX"), 0, 1); }));
  CheckOneRace(rig, "after a Zorvat double-click");
  QCOMPARE(rig.window->shown().view.raceOnScreen, 0);
  QCOMPARE(rig.Find<QTableView>("R")->model()->rowCount(), 0);
  QVERIFY(!rig.Find<QPushButton>("tvButton")->isEnabled());

  const int race = rig.RaceWithMarket();
  page->setCurrentIndex(kPageAllTable);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("MM"), race, 1); }));
  CheckOneRace(rig, "after a live analysis");
  QVERIFY(rig.Find<QPushButton>("tvButton")->isEnabled());

  page->setCurrentIndex(kPageZorvat);
  const int other = race == 0 ? 1 : 0;
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("NX"), other, 1); }));
  CheckOneRace(rig, "after scoring another race");
  QVERIFY(!rig.Find<QPushButton>("tvButton")->isEnabled());
  QVERIFY(rig.Find<QLabel>("bfnumber")->text().isEmpty());
}

void WindowTest::missingPricesThePrizeAndWherePricesCameFrom() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  auto* page = rig.Find<QTabWidget>("pages");
  const int race = rig.RaceWithMarket();

  page->setCurrentIndex(kPageToday);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("RT"), race, 1); }));
  QCOMPARE(rig.Find<QLabel>("exchangePrices")->text(), QString("without exchange prices"));
  const QString prize =
      rig.Find<QTableView>("RT")->model()->index(race, rt::kPrize).data().toString();
  QVERIFY(prize.startsWith("$"));
  QCOMPARE(rig.Find<QLabel>("u3")->text(), "Prize: " + prize);

  // Kf without a price reads as a dash; the data keep their 0.
  const Table& tab = rig.window->shown().ws.TAB;
  auto* shown = rig.Find<QTableView>("TAB")->model();
  int dashes = 0;
  for (int i = 0; i < tab.RowCount(); ++i) {
    const QModelIndex kf = shown->index(i, tab::kKf);
    if (tab.Number(i, tab::kKf) != 0) {
      QCOMPARE(kf.data().toString(), gui::Display(tab.Text(i, tab::kKf)));
      continue;
    }
    ++dashes;
    QCOMPARE(kf.data().toString(), QString("—"));
    QCOMPARE(kf.data(Qt::ToolTipRole).toString(), QString("no price matched"));
  }
  QVERIFY(dashes > 0);

  page->setCurrentIndex(kPageAllTable);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("MM"), race, 1); }));
  QVERIFY2(rig.Find<QLabel>("exchangePrices")->text().startsWith("exchange prices "),
           qPrintable(rig.Find<QLabel>("exchangePrices")->text()));
}

void WindowTest::sortedViewsActOnTheRowClicked() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  auto* page = rig.Find<QTabWidget>("pages");
  page->setCurrentIndex(kPageAllTable);
  QVERIFY(
      rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("MM"), rig.RaceWithMarket(), 1); }));

  // Summa sorted by name, descending: a double-click adds the runner shown on that line.
  auto* r = rig.Find<QTableView>("R");
  r->sortByColumn(r::kName, Qt::DescendingOrder);
  const QString first = r->model()->index(0, r::kName).data().toString();
  const QString lastShown =
      r->model()->index(r->model()->rowCount() - 1, r::kName).data().toString();
  QVERIFY(first > lastShown);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(r, 0, r::kRank); }));
  auto* rep = rig.Find<QTableView>("REP");
  QCOMPARE(rep->model()->rowCount(), 1);
  QCOMPARE(rep->model()->index(0, rep::kName).data().toString(), first);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(r, r->model()->rowCount() - 1, r::kRank); }));

  // The report sorted by name, descending: the row clicked is the row deleted.
  page->setCurrentIndex(kPageReport);
  rep->sortByColumn(rep::kName, Qt::DescendingOrder);
  QCOMPARE(rep->model()->index(0, rep::kName).data().toString(), first);
  QVERIFY(rig.Do([&] { rig.ClickCell(rep, 1, rep::kName); }));
  QVERIFY(rig.Do([&] { rig.window->findChild<QAction*>("deleteReportRowAction")->trigger(); }));
  QCOMPARE(rep->model()->rowCount(), 1);
  QCOMPARE(rep->model()->index(0, rep::kName).data().toString(), first);
  QCOMPARE(rig.window->shown().ws.REP.Text(0, rep::kName), gui::Input(first));
}

void WindowTest::settingsAreKeptAndTheCommandLineWinsForItsRun() {
  Rig rig;
  // This run's command line names a server that is gone and a data folder; the kept settings
  // are still the defaults.
  const QString gone = rig.PointAtAGoneServer();
  const QString firstFolder = rig.folder.filePath("first");
  rig.commandLine[Settings::Key::kDataFolder] = firstFolder;
  // A tx.log left in the current folder by an older run is not read, and the user is told.
  QTemporaryDir started;
  std::ofstream(started.filePath("tx.log").toStdString()) << "old\r\nsecret\r\n";
  const QString before = QDir::currentPath();
  QDir::setCurrent(started.path());
  MainWindow& w = rig.Open();
  QDir::setCurrent(before);
  QVERIFY(QFileInfo(firstFolder).isDir());  // made when missing
  QVERIFY2(rig.StatusLine().contains("tx.log ignored") && rig.StatusLine().contains(firstFolder),
           qPrintable(rig.StatusLine()));
  QVERIFY(rig.StartAndWait());
  QCOMPARE(rig.Find<QLineEdit>("loginEdit")->text(), QString());

  // "Connection failed!" stays as the system words it; the status line says where and why.
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.messages, QStringList{"Connection failed!"});
  const QString failed = "Connection failed: " + gone + "/refresh/trotix3.8.txt — ";
  QVERIFY2(rig.StatusLine().startsWith(failed) && rig.StatusLine().size() > failed.size(),
           qPrintable(rig.StatusLine()));

  // The settings keep the demo server and another data folder; the command line still wins in
  // this run.
  QTest::mouseClick(rig.Find<QPushButton>("settingsButton"), Qt::LeftButton);
  auto* dialog = w.findChild<SettingsDialog*>("settingsDialog");
  QVERIFY(dialog && dialog->isVisible());
  QVERIFY(dialog->findChild<QLabel*>("overriddenNote"));
  const QString demo = QString::fromStdString(rig.server->BaseUrl());
  for (const char* name :
       {"dataServerEdit", "webSiteEdit", "exchangeSiteEdit", "exchangeWebEdit", "videoHostEdit"})
    dialog->findChild<QLineEdit*>(name)->setText(demo + "/");
  const QString keptFolder = rig.folder.filePath("kept");
  dialog->findChild<QLineEdit*>("dataFolderEdit")->setText(keptFolder);
  dialog->findChild<QSpinBox*>("autoRefreshBox")->setValue(5);
  dialog->findChild<QSpinBox*>("deadlineBox")->setValue(45);
  QVERIFY(rig.Do([&] { dialog->accept(); }));
  auto* refresh = w.findChild<QTimer*>("autoRefreshTimer");
  QVERIFY(refresh->isActive());
  QCOMPARE(refresh->interval(), 5 * 60 * 1000);
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.messages.size(), 2);
  QCOMPARE(rig.server->Requests("/login/*"), 0);

  // The next run without those options uses what was kept.
  rig.commandLine.clear();
  rig.messages.clear();
  rig.Reopen();
  QVERIFY(rig.StartAndWait());
  rig.Find<QCheckBox>("rememberMeBox")->setChecked(true);
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.messages, QStringList());
  QCOMPARE(rig.VisibleTabs(), kWorkingTabs);
  QVERIFY(rig.server->Requests("/login/*") > 0);
  QCOMPARE(rig.Find<QLabel>("siteLink")->text().count(demo), 2);
  QCOMPARE(RunSessionOptions(*rig.settings, {}).deadline, std::chrono::seconds(45));
  // The remembered sign-in lives in the data folder, for the owner only.
  const QFileInfo log(QDir(keptFolder).filePath("tx.log"));
  QVERIFY(log.isFile());
  QCOMPARE(log.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
           QFile::Permissions());
  QVERIFY(!QFileInfo::exists(QDir(firstFolder).filePath("tx.log")));

  // A TROTIX_ variable wins over the kept value, the command line over both.
  qputenv("TROTIX_WEB_SITE", "http://variable.example");
  const Settings::RunValues given = {{Settings::Key::kWebSite, "http://option.example"}};
  QCOMPARE(RunSessionOptions(*rig.settings, {}).hosts.webSite, "http://variable.example");
  QCOMPARE(RunSessionOptions(*rig.settings, given).hosts.webSite, "http://option.example");
  qunsetenv("TROTIX_WEB_SITE");
  QCOMPARE(RunSessionOptions(*rig.settings, {}).hosts.webSite, rig.server->BaseUrl());
}

// A hand-edited settings file: every number the run uses is within the limits the command line
// keeps too, the status line says which were not, and the dialog offers the same limits.
void WindowTest::keptSettingsBeyondTheirLimitsAreBroughtWithinAndSaid() {
  Rig rig;
  using Key = Settings::Key;
  rig.settings->Set(Key::kProofCommissionPercent, "150");
  rig.settings->Set(Key::kAutoRefreshMinutes, 71583);
  rig.settings->Set(Key::kDeadlineSeconds, -1);
  rig.settings->Set(Key::kMaxConnections, "nan");
  MainWindow& w = rig.Open();
  const SessionOptions options = RunSessionOptions(*rig.settings, rig.commandLine);
  QCOMPARE(options.maxConnections, 8);  // not a number: the default
  QCOMPARE(options.deadline, std::chrono::milliseconds(0));
  QCOMPARE(CheckedNumber(*rig.settings, Key::kProofCommissionPercent), 99.9);
  QCOMPARE(w.findChild<QTimer*>("autoRefreshTimer")->interval(), 1440 * 60 * 1000);
  for (const char* said : {"The kept commission 150", "The kept refresh 71583",
                           "The kept deadline -1", "The kept connections nan"})
    QVERIFY2(rig.StatusLine().contains(said), qPrintable(rig.StatusLine()));
  SettingsDialog* dialog = w.OpenSettings();
  QCOMPARE(dialog->findChild<QDoubleSpinBox*>("commissionBox")->value(), 99.9);
  QCOMPARE(dialog->findChild<QDoubleSpinBox*>("commissionBox")->maximum(), 99.9);
  QCOMPARE(dialog->findChild<QSpinBox*>("autoRefreshBox")->value(), 1440);
  QCOMPARE(dialog->findChild<QSpinBox*>("autoRefreshBox")->maximum(), 1440);
  QCOMPARE(dialog->findChild<QSpinBox*>("deadlineBox")->value(), 0);
  dialog->reject();
}

void WindowTest::windowResizesAndComesBackAsItWasLeft() {
  Rig rig;
  MainWindow& w = rig.Open();
  QCOMPARE(w.minimumSize(), QSize(802, 623));
  QVERIFY(w.maximumSize().width() > 802 && w.maximumSize().height() > 623);
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  auto* pages = rig.Find<QTabWidget>("pages");
  pages->setCurrentIndex(kPageAllTable);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("MM"), 0, 1); }));

  // The grids and the chart take the room a larger window gives.
  QWidget* const grown[] = {rig.Find<QTableView>("MM"), rig.Find<QTableView>("TAB"),
                            rig.Find<QTableView>("R"), w.findChild<SummaChart*>("summaChart")};
  const auto sizes = [&] {
    std::vector<QSize> seen;
    SelectPage(w, "Summa");
    for (QWidget* g : grown) seen.push_back(g->size());
    SelectPage(w, "Chart");  // the chart is laid out when its tab is in front
    seen.back() = grown[3]->size();
    return seen;
  };
  const std::vector<QSize> small = sizes();
  w.resize(1280, 900);
  QTest::qWait(50);
  QCOMPARE(w.size(), QSize(1280, 900));
  const std::vector<QSize> large = sizes();
  for (size_t i = 0; i < std::size(grown); ++i)
    QVERIFY2(large[i].height() > small[i].height() && large[i].width() >= small[i].width(),
             qPrintable(grown[i]->objectName()));
  QVERIFY(rig.Find<QTableView>("TAB")->width() > small[1].width() + 300);
  // The panels laid over the pages stay in their middle.
  auto* progress = rig.Find<QFrame>("progressPanel");
  QVERIFY(qAbs(progress->geometry().center().x() - w.width() / 2) < 3);
  pages->setCurrentIndex(kPageResult);
  rig.Find<QLineEdit>("resultsDateEdit")->setText("01.01.2099");
  QVERIFY(rig.Wait(w.LoadResults()));
  auto* viz = rig.Find<QFrame>("viz");
  QVERIFY(viz->isVisible());
  QVERIFY(qAbs(viz->geometry().center().x() - rig.Find<QWidget>("resultPage")->width() / 2) < 3);

  // Tips in front and "From Real Odds" off, then the next run.
  pages->setCurrentIndex(kPageTips);
  rig.Find<QCheckBox>("fromRealOddsBox")->setChecked(false);
  rig.Reopen();
  MainWindow& again = *rig.window;
  QCOMPARE(again.size(), QSize(1280, 900));
  QVERIFY(!rig.Find<QCheckBox>("fromRealOddsBox")->isChecked());
  QVERIFY(rig.StartAndWait());
  QCOMPARE(rig.Find<QLineEdit>("resultsDateEdit")->text(), QString("01.01.2099"));
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.Find<QTabWidget>("pages")->currentWidget()->objectName(), QString("tipsPage"));
}

void WindowTest::keyboardReachesThePagesTheRowsAndTheButtons() {
  Rig rig;
  MainWindow& w = rig.Open();
  QApplication::setActiveWindow(&w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QVERIFY(rig.StartAndWait());
  rig.Find<QLineEdit>("loginEdit")->setText("demo");
  rig.Find<QLineEdit>("passwordEdit")->setText("demo");
  // Enter on the focused "ВХОД".
  auto* signIn = rig.Find<QPushButton>("signInButton");
  signIn->setFocus();
  QVERIFY(rig.Do([&] { QTest::keyClick(signIn, Qt::Key_Return); }));
  QCOMPARE(rig.VisibleTabs(), kWorkingTabs);

  // Ctrl+Tab and Ctrl+Shift+Tab walk the pages shown, round the end; Ctrl+N picks the N-th.
  auto* pages = rig.Find<QTabWidget>("pages");
  const auto caption = [&] { return pages->tabText(pages->currentIndex()); };
  QCOMPARE(caption(), QString("Today"));
  QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(caption(), QString("Scalp Odds"));
  QTest::keyClick(&w, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(&w, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(caption(), QString("ALL TABLE"));
  QTest::keyClick(&w, Qt::Key_3, Qt::ControlModifier);
  QCOMPARE(caption(), QString("Zorvat"));
  QTest::keyClick(&w, Qt::Key_7, Qt::ControlModifier);
  QCOMPARE(caption(), QString("ALL TABLE"));

  // Enter on a race does what a double-click does; Tab then leaves the grid.
  auto* mm = rig.Find<QTableView>("MM");
  mm->setFocus();
  mm->setCurrentIndex(mm->model()->index(2, 1));
  QVERIFY(rig.Do([&] { QTest::keyClick(mm, Qt::Key_Return); }));
  QCOMPARE(rig.Find<QLabel>("u2")->text(), "Course: " + mm->model()->index(2, 2).data().toString());
  auto* tab = rig.Find<QTableView>("TAB");
  QVERIFY(tab->model()->rowCount() > 1);
  QTest::keyClick(mm, Qt::Key_Tab);
  QVERIFY(QApplication::focusWidget() != mm);
  // Enter on a runner adds it to the report.
  tab->setFocus();
  tab->setCurrentIndex(tab->model()->index(1, 1));
  QVERIFY(rig.Do([&] { QTest::keyClick(tab, Qt::Key_Enter, Qt::KeypadModifier); }));
  QCOMPARE(rig.messages, QStringList{"Add to Report"});
  QCOMPARE(rig.Find<QTableView>("REP")->model()->rowCount(), 1);

  // Ctrl+S saves the report; the status line says where, and opens the folder.
  QVERIFY(rig.Do([&] { QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier); }));
  const QString saved = QDir(rig.folder.path()).filePath("report.html");
  QVERIFY(QFileInfo::exists(saved));
  QCOMPARE(rig.StatusLine(), "Saved " + saved);
  auto* openFolder = rig.Find<QToolButton>("openFolderButton");
  QVERIFY(openFolder->isVisible());
  QTest::mouseClick(openFolder, Qt::LeftButton);
  QCOMPARE(rig.opened.last(), rig.folder.path());
}

void WindowTest::saveAsSignOutAndTheQuestionOnClosing() {
  Rig rig;
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  const int races = rig.Find<QTableView>("RT")->model()->rowCount();
  const int moves = rig.Find<QTableView>("LG")->model()->rowCount();
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("RT"), 0, 1); }));
  auto* tab = rig.Find<QTableView>("TAB");
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(tab, 0, 1); }));
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(tab, 1, 1); }));
  auto* rep = rig.Find<QTableView>("REP")->model();
  QCOMPARE(rep->rowCount(), 2);

  // "Save as…" starts at a name with the day's date in the data folder.
  rig.Find<QTabWidget>("pages")->setCurrentIndex(kPageReport);
  rig.chosen = rig.folder.filePath("mine.html");
  QVERIFY(rig.Do(
      [&] { QTest::mouseClick(rig.Find<QPushButton>("saveReportAsButton"), Qt::LeftButton); }));
  const QString day = QString::fromStdString(FormatDate(Today()));
  QCOMPARE(rig.suggestions,
           QStringList{QDir(rig.folder.path()).filePath("report-" + day + ".html")});
  QVERIFY(QFileInfo::exists(rig.chosen));
  QCOMPARE(rig.StatusLine(), "Saved " + rig.chosen);
  // Cancelled, "CSV as…" writes nothing.
  rig.chosen.clear();
  const int shown = w.shown().command;
  QTest::mouseClick(rig.Find<QPushButton>("exportCsvAsButton"), Qt::LeftButton);
  QCOMPARE(rig.suggestions.last(), QDir(rig.folder.path()).filePath("report-" + day + ".csv"));
  QCOMPARE(w.shown().command, shown);
  QVERIFY(!w.runner().busy());

  // "Clear" asks first; "No" keeps the rows.
  rig.answer = QMessageBox::No;
  QTest::mouseClick(rig.Find<QPushButton>("clearReportButton"), Qt::LeftButton);
  QCOMPARE(rig.questions.size(), 1);
  QVERIFY(rig.questions[0].startsWith("Clear the report?"));
  QCOMPARE(rep->rowCount(), 2);

  // Sign out: back to the sign-in page with the fields editable, the day gone, the report kept.
  auto* signOut = rig.Find<QToolButton>("signOutButton");
  QVERIFY(signOut->isVisible());
  QVERIFY(rig.Do([&] { QTest::mouseClick(signOut, Qt::LeftButton); }));
  QCOMPARE(rig.VisibleTabs(), QStringList{"About"});
  QCOMPARE(rig.Find<QTabWidget>("pages")->currentWidget()->objectName(), QString("signInPage"));
  QVERIFY(rig.Find<QLineEdit>("loginEdit")->isEnabled());
  QVERIFY(!signOut->isVisible());
  QCOMPARE(rig.Find<QTableView>("RT")->model()->rowCount(), 0);
  QCOMPARE(rig.Find<QTableView>("TAB")->model()->rowCount(), 0);
  QCOMPARE(rep->rowCount(), 2);
  // Signed in again, the day is there once.
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.Find<QTableView>("RT")->model()->rowCount(), races);
  QCOMPARE(rig.Find<QTableView>("MM")->model()->rowCount(), races);
  QCOMPARE(rig.Find<QTableView>("LG")->model()->rowCount(), moves);
  QCOMPARE(rep->rowCount(), 2);

  // Closing with rows no save has written asks; Cancel keeps the window.
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("RT"), 0, 1); }));
  rig.messages.clear();
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(tab, 2, 1); }));
  QVERIFY(w.shown().view.reportUnsaved);
  rig.answer = QMessageBox::Cancel;
  w.close();
  QVERIFY(w.isVisible());
  QVERIFY(rig.questions.last().contains("not saved"));
  // Save writes report.html, then the window closes.
  rig.answer = QMessageBox::Save;
  w.close();
  QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 15000);
  QVERIFY(QFileInfo::exists(rig.folder.filePath("report.html")));
  QCOMPARE(rig.questions.size(), 3);

  // Discard closes without writing.
  QFile::remove(rig.folder.filePath("report.html"));
  rig.Reopen();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("RT"), 0, 1); }));
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("TAB"), 0, 1); }));
  rig.answer = QMessageBox::Discard;
  rig.window->close();
  QVERIFY(!rig.window->isVisible());
  QCOMPARE(rig.questions.size(), 4);
  QVERIFY(!QFileInfo::exists(rig.folder.filePath("report.html")));
}

void WindowTest::refreshLoadsTheMovesAfreshFromASlowServer() {
  Rig rig(200);
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  rig.Find<QTabWidget>("pages")->setCurrentIndex(kPageScalpOdds);
  auto* lg = rig.Find<QTableView>("LG")->model();
  const int rows = lg->rowCount();
  QVERIFY(rows > 0);
  const auto prices = [&] {
    QStringList p;
    for (int r = 0; r < lg->rowCount(); ++r) p << lg->index(r, 4).data().toString();
    return p;
  };
  const QStringList first = prices();
  QCOMPARE(rig.server->Requests("/bc/move.xml"), 1);

  // The markets move; "Обновить" shows where they stand now, and is guarded while it loads.
  rig.server->MoveMarkets();
  auto* refresh = rig.Find<QPushButton>("refreshMovesButton");
  QVERIFY(refresh->isEnabled());
  const int n = w.shown().command;
  QTest::mouseClick(refresh, Qt::LeftButton);
  QVERIFY(w.runner().busy());
  QVERIFY(!refresh->isEnabled());
  QCOMPARE(w.ReloadMoves(), 0);
  QVERIFY(rig.Wait(n + 1));
  QCOMPARE(lg->rowCount(), rows);
  QVERIFY(prices() != first);
  QCOMPARE(rig.server->Requests("/bc/move.xml"), 2);
  QVERIFY(refresh->isEnabled());
  QCOMPARE(rig.messages, QStringList());
}

// Threads and lifetimes: the tray icon. A right-click opens its menu and does nothing else: the
// icon's click used to hide the icon from inside the icon's own mouse handler, which deletes the
// widget that handler runs in. A left-click restores the window once its handler has returned.
// Each entry of the menu does what it says, signed in or not.
void WindowTest::trayMenuOpensAndEachEntryWorks() {
  Rig rig;
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  auto* tray = w.findChild<TrayIcon*>("trayIcon");
  QVERIFY(tray);
  QMenu* menu = tray->contextMenu();
  QVERIFY(menu);
  const auto entry = [&](const QString& text) -> QAction* {
    for (QAction* a : menu->actions())
      if (a->text() == text) return a;
    return nullptr;
  };
  for (const char* text : {"Show Trotix", "Settings…", "Sign out", "Quit"})
    QVERIFY2(entry(text), text);

  // Minimised to the tray, then a right-click: the menu opens, the icon and the window stay.
  w.hide();
  tray->ShowTurning();
  emit tray->activated(QSystemTrayIcon::Context);
  QTest::qWait(50);
  QVERIFY(tray->isVisible());
  QVERIFY(!w.isVisible());
  menu->popup(QPoint(20, 20));
  QTRY_VERIFY(menu->isVisible());
  QVERIFY(!entry("Sign out")->isEnabled());  // signed out
  const QRect show = menu->actionGeometry(entry("Show Trotix"));
  QTest::mouseClick(menu, Qt::LeftButton, {}, show.center());
  QTRY_VERIFY(w.isVisible());
  QVERIFY(!tray->isVisible());
  QVERIFY(!menu->isVisible());

  // A left-click on the icon: it goes, and the window comes back, after the click's handler.
  w.hide();
  tray->ShowTurning();
  emit tray->activated(QSystemTrayIcon::Trigger);
  QVERIFY(tray->isVisible());
  QTRY_VERIFY(w.isVisible() && !tray->isVisible());

  // "Settings…" opens the dialog; signed in, "Sign out" signs out.
  menu->popup(QPoint(20, 20));
  entry("Settings…")->trigger();
  menu->hide();
  auto* dialog = w.findChild<SettingsDialog*>("settingsDialog");
  QVERIFY(dialog);
  dialog->reject();
  QVERIFY(rig.SignIn("demo", "demo"));
  menu->popup(QPoint(20, 20));
  QVERIFY(entry("Sign out")->isEnabled());
  QVERIFY(rig.Do([&] { entry("Sign out")->trigger(); }));
  menu->hide();
  QVERIFY(!w.shown().view.signedIn);

  // "Quit" closes the window.
  menu->popup(QPoint(20, 20));
  entry("Quit")->trigger();
  QTRY_VERIFY(!w.isVisible());
}

// Every runner row of ALL TABLE shown from memory, the exchange's figures saying they are not
// loaded.
static void CheckExchangeNotLoaded(Rig& rig) {
  auto* tab = rig.Find<QTableView>("TAB")->model();
  QVERIFY(tab->rowCount() > 1);
  int moves = 0, scores = 0;
  for (int i = 0; i < tab->rowCount(); ++i) {
    QCOMPARE(tab->index(i, tab::kKf).data().toString(), QString("not loaded"));
    QCOMPARE(tab->index(i, tab::kBf).data().toString(), QString("not loaded"));
    moves += !tab->index(i, tab::kMove).data().toString().isEmpty();
    scores += !tab->index(i, tab::kZorvat).data().toString().isEmpty();
  }
  QVERIFY(moves > 0);
  QVERIFY(scores > 0);
  QCOMPARE(rig.Find<QTableView>("R")->model()->rowCount(), tab->rowCount());
  QCOMPARE(rig.Find<QLabel>("u8")->text(), QString("Summ Betfair: not loaded"));
  QCOMPARE(rig.Find<QLabel>("exchangePrices")->text(), QString("exchange prices not loaded"));
}

void WindowTest::allTableShowsWhatIsInMemoryWhileTheExchangeStalls() {
  Rig rig(300);
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  const int race = rig.RaceWithMarket();
  QVERIFY(race >= 0);
  rig.server->SetFault("/betting/*", vendorsim::FaultMode::kStall);
  rig.Find<QTabWidget>("pages")->setCurrentIndex(kPageAllTable);
  auto* mm = rig.Find<QTableView>("MM");
  const QString time = mm->model()->index(race, mm::kTime).data().toString();

  // The card, tips, moves and Zorvat show while the runner pages are awaited.
  const int analysis = w.shown().command + 1;
  rig.DoubleClickCell(mm, race, 1);
  QTRY_COMPARE_WITH_TIMEOUT(rig.Find<QLabel>("u1")->text(), time, 3000);
  QVERIFY(w.runner().busy());
  CheckExchangeNotLoaded(rig);
  if (QTest::currentTestFailed()) return;
  QTRY_VERIFY_WITH_TIMEOUT(rig.Find<QFrame>("progressPanel")->isVisible(), 2000);
  QCOMPARE(rig.Find<QLabel>("progressCaption")->text().section(" — ", 0, 0),
           QString("Exchange prices"));

  // Cancel leaves them so.
  QTest::mouseClick(rig.Find<QPushButton>("progressCancel"), Qt::LeftButton);
  QVERIFY(rig.Wait(analysis));
  CheckExchangeNotLoaded(rig);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(rig.Find<QLabel>("u1")->text(), time);
  QCOMPARE(rig.messages, QStringList());

  // Once the pages come, their figures take the place of "not loaded".
  rig.server->ClearFaults();
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(mm, race, 1); }));
  auto* tab = rig.Find<QTableView>("TAB")->model();
  for (int i = 0; i < tab->rowCount(); ++i)
    QVERIFY(tab->index(i, tab::kKf).data().toString() != "not loaded");
  QVERIFY(rig.Find<QLabel>("exchangePrices")
              ->text()
              .contains(QRegularExpression("\\d\\d:\\d\\d:\\d\\d$")));
  QVERIFY(rig.Find<QPushButton>("tvButton")->isEnabled());
}

// The texts the chart draws (axis labels, legend), as laid out on screen.
static QStringList ChartTexts(MainWindow& w) {
  auto* chart = w.findChild<SummaChart*>("summaChart");
  QTest::qWait(100);  // the chart lays itself out on the next turns of the event loop
  QStringList texts;
  for (QGraphicsItem* item : chart->scene()->items()) {
    if (!item->isVisible()) continue;
    if (auto* t = dynamic_cast<QGraphicsTextItem*>(item)) texts << t->toPlainText().trimmed();
    if (auto* t = dynamic_cast<QGraphicsSimpleTextItem*>(item)) texts << t->text().trimmed();
  }
  texts.replaceInStrings(" (NR)", "");  // a non-runner's bar says so
  return texts;
}

static QStringList RunnerNames(Rig& rig) {
  auto* r = rig.Find<QTableView>("R")->model();
  QStringList names;
  for (int i = 0; i < r->rowCount(); ++i)
    names << r->index(i, r::kName).data().toString().trimmed();
  return names;
}

void WindowTest::allTableFitsItsPricesAndTheChartDrawsOneRace() {
  Rig rig;
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  auto* page = rig.Find<QTabWidget>("pages");
  const int race = rig.RaceWithMarket();
  const int other = race == 0 ? 1 : 0;
  auto* mm = rig.Find<QTableView>("MM");
  auto* tab = rig.Find<QTableView>("TAB");

  // Scored on "Zorvat" first (no prices: dashes), then analysed: every price fits its column.
  const auto needed = [&](int c) {
    return static_cast<QAbstractItemView*>(tab)->sizeHintForColumn(c);
  };
  for (const QSize size : {QSize(802, 623), QSize(1280, 900)}) {
    w.resize(size);
    page->setCurrentIndex(kPageZorvat);
    QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("NX"), other, 1); }));
    QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("NX"), race, 1); }));
    QCOMPARE(w.shown().view.raceOnScreen, race);
    page->setCurrentIndex(kPageAllTable);
    QVERIFY(rig.Do([&] { rig.DoubleClickCell(mm, race, 1); }));
    // The race list needs no sideways scrolling; the header's labels keep to their cells.
    QVERIFY(!mm->horizontalScrollBar()->isVisible());
    QVERIFY(!rig.Find<QLabel>("u4")->geometry().intersects(
        rig.Find<QLabel>("exchangePrices")->geometry()));
    QVERIFY(!rig.Find<QLabel>("u7")->geometry().intersects(rig.Find<QLabel>("u6")->geometry()));
    for (const int c : {tab::kKf, tab::kMove, tab::kZorvat})
      QVERIFY2(tab->columnWidth(c) >= needed(c), qPrintable(QString("column %1 at %2x%3: %4 < %5")
                                                                .arg(c)
                                                                .arg(size.width())
                                                                .arg(size.height())
                                                                .arg(tab->columnWidth(c))
                                                                .arg(needed(c))));
  }

  // The chart names the runners of the race on screen, and none of another.
  rig.Find<QTabWidget>("summaTabs")->setCurrentIndex(1);
  const QStringList first = RunnerNames(rig);
  QVERIFY(!first.isEmpty());
  QStringList drawn = ChartTexts(w);
  for (const QString& name : first) QVERIFY2(drawn.contains(name), qPrintable(name));
  page->setCurrentIndex(kPageZorvat);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("NX"), other, 1); }));
  page->setCurrentIndex(kPageAllTable);
  QCOMPARE(RunnerNames(rig), QStringList());
  drawn = ChartTexts(w);
  for (const QString& name : first) QVERIFY2(!drawn.contains(name), qPrintable(name));

  // Signed out and in again, then another race: its names only.
  QVERIFY(rig.Wait(w.SignOut()));
  QVERIFY(rig.SignIn("demo", "demo"));
  page->setCurrentIndex(kPageAllTable);
  rig.Find<QTabWidget>("summaTabs")->setCurrentIndex(1);
  drawn = ChartTexts(w);
  for (const QString& name : first) QVERIFY2(!drawn.contains(name), qPrintable(name));
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(mm, other, 1); }));
  const QStringList second = RunnerNames(rig);
  drawn = ChartTexts(w);
  for (const QString& name : second) QVERIFY2(drawn.contains(name), qPrintable(name));
  for (const QString& name : first)
    QVERIFY2(second.contains(name) || !drawn.contains(name), qPrintable(name));
}

void WindowTest::deleteTakesTheRowChosenByKeyboardOrRightClick() {
  Rig rig;
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  auto* page = rig.Find<QTabWidget>("pages");
  page->setCurrentIndex(kPageToday);
  QVERIFY(rig.Do([&] { rig.DoubleClickCell(rig.Find<QTableView>("RT"), 0, 1); }));
  auto* tab = rig.Find<QTableView>("TAB");
  for (int i = 0; i < 3; ++i) QVERIFY(rig.Do([&] { rig.DoubleClickCell(tab, i, 1); }));
  page->setCurrentIndex(kPageReport);
  auto* rep = rig.Find<QTableView>("REP");
  QCOMPARE(rep->model()->rowCount(), 3);
  const auto names = [&] {
    QStringList n;
    for (int i = 0; i < rep->model()->rowCount(); ++i)
      n << rep->model()->index(i, rep::kName).data().toString();
    return n;
  };
  rig.messages.clear();

  // Chosen by the keyboard, deleted by the Delete key.
  QApplication::setActiveWindow(&w);
  rep->setFocus();
  QTRY_VERIFY(rep->hasFocus());
  QTest::keyClick(rep, Qt::Key_Down);
  QTest::keyClick(rep, Qt::Key_Down);
  const QString byKey = rep->currentIndex().siblingAtColumn(rep::kName).data().toString();
  QVERIFY(!byKey.isEmpty());
  QVERIFY(rig.Do([&] { QTest::keyClick(rep, Qt::Key_Delete); }));
  QCOMPARE(rep->model()->rowCount(), 2);
  QVERIFY(!names().contains(byKey));

  // Chosen by the right click that opens the menu.
  const QModelIndex last = rep->model()->index(1, rep::kName);
  const QString byMenu = last.data().toString();
  const QPoint at = rep->visualRect(last).center();
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, rep->viewport()->mapToGlobal(at));
  QApplication::sendEvent(rep->viewport(), &menuEvent);
  auto* menu = w.findChild<QMenu*>("reportMenu");
  QTRY_VERIFY(menu->isVisible());
  QVERIFY(rig.Do([&] { w.findChild<QAction*>("deleteReportRowAction")->trigger(); }));
  menu->hide();
  QCOMPARE(names(), QStringList{names().value(0)});
  QVERIFY(!names().contains(byMenu));
  QCOMPARE(rig.messages, QStringList());

  // Nothing chosen: the box says so, with no progress panel and no disabled buttons behind it.
  rep->clearSelection();
  bool panelBehind = true, buttonsOff = true;
  w.ports().SetMessageHook([&](const QString& text) {
    rig.messages << text;
    QTest::qWait(700);  // longer than the panel's delay
    panelBehind = rig.Find<QFrame>("progressPanel")->isVisible();
    buttonsOff = !rig.Find<QPushButton>("saveReportButton")->isEnabled();
  });
  QVERIFY(rig.Do([&] { QTest::keyClick(rep, Qt::Key_Delete); }));
  QCOMPARE(rig.messages, QStringList{"Select Please Horse"});
  QVERIFY(!panelBehind);
  QVERIFY(!buttonsOff);
  QCOMPARE(rep->model()->rowCount(), 1);
  QVERIFY(rig.Find<QPushButton>("saveReportButton")->isEnabled());

  // A sorted column keeps room for its arrow beside the caption.
  rep->sortByColumn(rep::kOdds, Qt::AscendingOrder);
  QHeaderView* header = rep->horizontalHeader();
  const int caption = header->fontMetrics().horizontalAdvance(
      rep->model()->headerData(rep::kOdds, Qt::Horizontal).toString());
  QVERIFY2(rep->columnWidth(rep::kOdds) >=
               caption + header->style()->pixelMetric(QStyle::PM_HeaderMarkSize),
           qPrintable(QString("%1 for %2").arg(rep->columnWidth(rep::kOdds)).arg(caption)));
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
