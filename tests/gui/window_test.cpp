// The real window, offscreen, against the demo vendor server.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <fstream>
#include <memory>

#include "gui/launch.h"
#include "gui/main_window.h"
#include "net/curl_http_client.h"
#include "text/dates.h"
#include "vendorsim/vendor_sim.h"

using namespace trotix;
using namespace trotix::gui;

namespace {

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// One window on its own demo server and its own folder, with message boxes and the browser
// answered by hooks.
struct Rig {
  explicit Rig(int latencyMs = 0) {
    vendorsim::SimOptions o;
    o.date = Today();
    o.races = 12;
    o.latencyMinMs = o.latencyMaxMs = latencyMs;
    server = std::make_unique<vendorsim::VendorSim>(o);
    server->Start();
  }

  MainWindow& Open() {
    WindowOptions w;
    w.session.hosts = server->SimHosts();
    w.session.folder = folder.path().toStdString();
    w.web = MakeIdHTTP1();
    w.zorvat = MakeID2();
    window = std::make_unique<MainWindow>(std::move(w));
    window->ports().SetMessageHook([this](const QString& text) { messages << text; });
    window->ports().SetBrowserHook([this](const QString& target) { opened << target; });
    window->show();
    return *window;
  }

  // Waits until command `n` is on screen.
  bool Wait(int n, int timeoutMs = 15000) {
    if (n == 0) return false;
    QElapsedTimer t;
    t.start();
    while (window->shown().command < n && t.elapsed() < timeoutMs) QTest::qWait(10);
    return window->shown().command >= n;
  }

  bool StartAndWait() { return Wait(window->Start()); }

  bool SignIn(const QString& login, const QString& password) {
    Find<QLineEdit>("loginedit")->setText(login);
    Find<QLineEdit>("passedit")->setText(password);
    const int before = window->shown().command;
    QTest::mouseClick(Find<QPushButton>("spSkinXFormButton1"), Qt::LeftButton);
    return Wait(before + 1);
  }

  template <class W>
  W* Find(const char* name) {
    W* w = window->findChild<W*>(name);
    if (!w) qFatal("no widget %s", name);
    return w;
  }

  QStringList VisibleTabs() {
    auto* page = Find<QTabWidget>("PAGE");
    QStringList tabs;
    for (int p = 0; p < page->count(); ++p)
      if (page->isTabVisible(p)) tabs << page->tabText(p);
    return tabs;
  }

  void ClickCell(QTableView* view, int row, int col) {
    const QModelIndex i = view->model()->index(row, col);
    view->scrollTo(i);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(i).center());
  }

  QTemporaryDir folder;
  std::unique_ptr<vendorsim::VendorSim> server;
  std::unique_ptr<MainWindow> window;
  QStringList messages, opened;
};

const QStringList kWorkingTabs = {"Today",  "Scalp Odds", "Zorvat",   "Tips",
                                  "Result", "Report",     "ALL TABLE"};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { ApplyLook(*qApp); }
  void startShowsOnlyAbout();
  void rememberMeFileFillsTheFields();
  void wrongPasswordKeepsTheFieldsEditable();
  void signInShowsTheWorkingPages();
  void loadFillsResultsAndOnlyTheLinkOpens();
  void emptyResultsShowNoInformationWithoutFreezing();
  void outdatedReleaseOpensTheUpdatePageAndCloses();
  void slowServerKeepsTheWindowResponsiveAndGuarded();
  void screenshotIsTheWholeWindow();
};

void WindowTest::startShowsOnlyAbout() {
  Rig rig;
  MainWindow& w = rig.Open();
  QCOMPARE(w.windowTitle(), QString("Trotix"));
  QCOMPARE(w.size(), QSize(802, 623));
  QCOMPARE(w.minimumSize(), w.maximumSize());
  QVERIFY(rig.StartAndWait());
  QCOMPARE(rig.VisibleTabs(), QStringList{"About"});
  QCOMPARE(rig.Find<QTabWidget>("PAGE")->currentWidget()->objectName(), QString("spSkinTabSheet5"));
  QCOMPARE(rig.Find<QLineEdit>("loginedit")->text(), QString());
  QVERIFY(!rig.Find<QCheckBox>("zap")->isChecked());
  QCOMPARE(rig.Find<QLineEdit>("passedit")->echoMode(), QLineEdit::Password);
  QCOMPARE(rig.Find<QLineEdit>("datas")->text(), QString::fromStdString(FormatDate(Today())));
  QCOMPARE(rig.Find<QPushButton>("spSkinXFormButton1")->text(), QString("ВХОД"));
  QVERIFY(rig.Find<QLabel>("spSkinLabel5")->text() == "VERSION: 3.8");
  // Hidden controls exist and stay hidden.
  QVERIFY(!rig.Find<QFrame>("pan")->isVisible());
  QVERIFY(!rig.Find<QProgressBar>("pr2")->isVisibleTo(rig.Find<QFrame>("pan")));
  QVERIFY(!rig.Find<QLabel>("bfnumber")->isVisibleTo(&w));
  QVERIFY(!rig.Find<QPushButton>("tvbutton")->isEnabled());
  QVERIFY(!rig.Find<QPushButton>("bfbutton")->isEnabled());
  QCOMPARE(rig.Find<QPushButton>("tvbutton")->toolTip(), QString("TV Translation"));
  QCOMPARE(rig.Find<QPushButton>("bfbutton")->toolTip(), QString("Go to Betfair"));
  // Grid columns as the system lays them out.
  auto* tab = rig.Find<QTableView>("TAB");
  QCOMPARE(tab->model()->columnCount(), 29);
  for (int hidden : {2, 8, 9, 13, 14, 15, 17, 19, 20, 24, 25, 26, 28})
    QVERIFY2(tab->isColumnHidden(hidden), qPrintable(QString::number(hidden)));
  QVERIFY(!tab->isColumnHidden(27));
  QCOMPARE(rig.Find<QTableView>("REZ")->isColumnHidden(11), true);
  QCOMPARE(rig.Find<QTableView>("RT")->selectionBehavior(), QAbstractItemView::SelectRows);
  QCOMPARE(tab->selectionBehavior(), QAbstractItemView::SelectItems);
  QVERIFY(!rig.Find<QTableView>("RT")->isSortingEnabled());
}

void WindowTest::rememberMeFileFillsTheFields() {
  Rig rig;
  std::ofstream(rig.folder.filePath("tx.log").toStdString(), std::ios::binary)
      << "rider\r\nse cret&1\r\n";
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QCOMPARE(rig.Find<QLineEdit>("loginedit")->text(), QString("rider"));
  QCOMPARE(rig.Find<QLineEdit>("passedit")->text(), QString("se cret&1"));
  QVERIFY(rig.Find<QCheckBox>("zap")->isChecked());
}

void WindowTest::wrongPasswordKeepsTheFieldsEditable() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "wrong"));
  QCOMPARE(rig.messages, QStringList{"Autorization Failed!"});
  QVERIFY(rig.Find<QLineEdit>("loginedit")->isEnabled());
  QVERIFY(rig.Find<QLineEdit>("passedit")->isEnabled());
  QVERIFY(rig.Find<QPushButton>("spSkinXFormButton1")->isEnabled());
  QCOMPARE(rig.VisibleTabs(), QStringList{"About"});
  // A second try with the right password goes through.
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.VisibleTabs(), kWorkingTabs);
}

void WindowTest::signInShowsTheWorkingPages() {
  Rig rig;
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  rig.Find<QCheckBox>("zap")->setChecked(true);
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(rig.messages, QStringList());
  QCOMPARE(rig.VisibleTabs(), kWorkingTabs);
  QCOMPARE(rig.Find<QTabWidget>("PAGE")->currentIndex(), 0);
  const int races = rig.Find<QTableView>("RT")->model()->rowCount();
  QCOMPARE(races, static_cast<int>(rig.server->day().races.size()));
  QVERIFY(races > 0);
  QCOMPARE(rig.Find<QLabel>("glavcount")->text(), QString("Count: %1  ").arg(races));
  QCOMPARE(rig.Find<QTableView>("MM")->model()->rowCount(), races);
  QCOMPARE(rig.Find<QTableView>("NX")->model()->rowCount(), races);
  QVERIFY(rig.Find<QTableView>("TIPS")->model()->rowCount() > 0);
  QVERIFY(rig.Find<QTableView>("LG")->model()->rowCount() > 0);
  QVERIFY(!rig.Find<QLineEdit>("loginedit")->isEnabled());
  QVERIFY(!rig.Find<QCheckBox>("zap")->isEnabled());
  QVERIFY(QFile::exists(rig.folder.filePath("tx.log")));
  // Flags come with the country as the tooltip.
  auto* rt = rig.Find<QTableView>("RT")->model();
  QVERIFY(rt->data(rt->index(0, 0), Qt::DecorationRole).isValid());
  QVERIFY(!rt->data(rt->index(0, 0), Qt::ToolTipRole).toString().isEmpty());
  QCOMPARE(w.shown().ws.signedIn, true);

  // A double-click on a race of "Zorvat" scores it.
  rig.Find<QTabWidget>("PAGE")->setCurrentIndex(5);
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
  rig.Find<QTabWidget>("PAGE")->setCurrentIndex(7);
  const int before = rig.window->shown().command;
  QTest::mouseClick(rig.Find<QPushButton>("spSkinXFormButton5"), Qt::LeftButton);
  QVERIFY(rig.Wait(before + 1));
  auto* rez = rig.Find<QTableView>("REZ");
  const int rows = rez->model()->rowCount();
  QVERIFY(rows > 0);
  for (int r = 1; r < rows; ++r)
    QVERIFY(rez->model()->index(r - 1, 1).data().toString() <=
            rez->model()->index(r, 1).data().toString());
  QVERIFY(!rig.Find<QFrame>("viz")->isVisible());
  QCOMPARE(rig.Find<QTabWidget>("PAGE")->currentIndex(), 7);  // the user's page stays

  const QString address = rez->model()->index(0, 11).data().toString();
  QVERIFY(address.startsWith("http"));
  int n = rig.window->shown().command;
  rig.ClickCell(rez, 0, 1);  // "Time": nothing
  QVERIFY(rig.Wait(n + 1));
  rig.ClickCell(rez, 0, 12);  // "Link"
  QVERIFY(rig.Wait(n + 2));
  QCOMPARE(rig.opened, QStringList{address});
}

void WindowTest::emptyResultsShowNoInformationWithoutFreezing() {
  Rig rig;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  rig.Find<QTabWidget>("PAGE")->setCurrentIndex(7);
  rig.Find<QLineEdit>("datas")->setText("01.01.2099");
  QVERIFY(rig.Wait(rig.window->LoadResults()));
  QCOMPARE(rig.Find<QTableView>("REZ")->model()->rowCount(), 0);
  auto* viz = rig.Find<QFrame>("viz");
  QVERIFY(viz->isVisible());
  auto* timer = rig.Find<QTimer>("vizTimer");
  QVERIFY(timer->isActive());
  QVERIFY2(timer->remainingTime() > 3000 && timer->remainingTime() <= 5000,
           qPrintable(QString::number(timer->remainingTime())));
  // The window goes on working meanwhile: another load runs and ends.
  QVERIFY(rig.Find<QPushButton>("spSkinXFormButton5")->isEnabled());
  rig.Find<QLineEdit>("datas")->setText(QString::fromStdString(FormatDate(Today())));
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
  const int start = w.LoadResults();
  QVERIFY(start > 0);
  // A second command cannot start while the first runs.
  QVERIFY(w.runner().busy());
  QCOMPARE(w.SignIn(), 0);
  QCOMPARE(w.LoadResults(), 0);
  QVERIFY(!rig.Find<QPushButton>("spSkinXFormButton1")->isEnabled());
  QVERIFY(!rig.Find<QPushButton>("spSkinXFormButton5")->isEnabled());
  // The progress panel comes up with Cancel in reach, and the window paints.
  QTRY_VERIFY_WITH_TIMEOUT(rig.Find<QFrame>("pan")->isVisible(), 1000);
  QVERIFY(w.runner().busy());
  QVERIFY(!w.grab().isNull());
  auto* cancel = rig.Find<QPushButton>("panCancel");
  QTest::mouseClick(cancel, Qt::LeftButton);
  QVERIFY(w.ports().cancelRequested());
  QVERIFY(!cancel->isEnabled());
  QVERIFY(rig.Wait(start));
  QVERIFY(ticks > 20);  // the event loop ran all along
  QVERIFY(!rig.Find<QFrame>("pan")->isVisible());
  QVERIFY(rig.Find<QPushButton>("spSkinXFormButton1")->isEnabled());
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

QTEST_MAIN(WindowTest)
#include "window_test.moc"
