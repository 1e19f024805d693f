// The Systems page offscreen, over a demo history: the default system's figures are Best
// Recoming's, they follow each change of a weight or a filter without the window waiting, the
// split puts the days on two sides, and a saved system is listed. TROTIX_SHOTS=folder keeps a
// picture of the page at the window's smallest size.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/system_clock.h"
#include "archive/sqlite_archive.h"
#include "gui/event_loop_watchdog.h"
#include "gui/launch.h"
#include "gui/main_window.h"
#include "gui/pages/page_parts.h"
#include "gui/pages/systems_page.h"
#include "gui/settings.h"
#include "net/curl_http_client.h"
#include "vendorsim/demo_history.h"
#include "vendorsim/vendor_sim.h"

using namespace trotix;
using namespace trotix::gui;

class WindowSystemsTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    ApplyLook(*qApp);
    QStandardPaths::setTestModeEnabled(true);
  }
  void editTestSplitAndSave();

 private:
  bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 30000) QTest::qWait(10);
    return done();
  }
  // The figures shown are those of the fields as they stand.
  bool Shown() {
    return WaitFor([this] {
      const auto& s = window_->shown().systems;
      const SystemsQuery q = page_->Query();
      return s && !window_->runner().busy() && s->query.rule == q.rule &&
             s->query.split == q.split && s->query.from == q.from && s->query.to == q.to;
    });
  }
  QString Cell(int row, int col) {
    auto* item = window_->findChild<QTableWidget*>("systemFigures")->item(row, col);
    return item ? item->text() : QString();
  }

  std::unique_ptr<MainWindow> window_;
  SystemsPage* page_ = nullptr;
};

void WindowSystemsTest::editTestSplitAndSave() {
  QTemporaryDir folder;
  const std::filesystem::path dir = folder.path().toStdString();
  auto store = std::make_shared<SqliteArchive>(dir / kDemoArchiveFileName);
  vendorsim::DemoHistoryOptions history;
  history.today = SystemClock().Today();  // every day of the history is over
  history.days = 4;
  history.races = 10;
  for (const auto& day : vendorsim::BuildDemoHistory(*store, history))
    QVERIFY2(day.error.empty(), day.error.c_str());
  int recoming = 0;  // Best Recoming's settled bets, void ones left out
  for (const Pick& p : store->Picks())
    recoming += p.system == "Best Recoming" && p.result != PickResult::kVoid &&
                p.result != PickResult::kUnsettled;

  vendorsim::SimOptions o;
  o.races = 10;
  vendorsim::VendorSim server(o);
  server.Start();
  Settings::RunValues commandLine;
  const Hosts hosts = server.SimHosts();
  for (const auto& [key, member] : kHostKeys)
    commandLine[key] = QString::fromStdString(hosts.*member);
  commandLine[Settings::Key::kDataFolder] = folder.path();
  WindowOptions w;
  w.settings = std::make_shared<Settings>(folder.filePath("trotix.ini"));
  w.commandLine = commandLine;
  w.web = MakeRedirectingClient();
  w.zorvat = MakeNonRedirectingClient();
  w.archive = store;
  window_ = std::make_unique<MainWindow>(std::move(w));
  window_->resize(kClientWidth, kClientHeight);
  window_->show();
  const int start = window_->Start();
  QVERIFY(WaitFor([&] { return window_->shown().command >= start; }));

  auto* pages = window_->findChild<QTabWidget*>("pages");
  page_ = window_->findChild<SystemsPage*>("systemsPage");
  QVERIFY(page_);
  QVERIFY(pages->isTabVisible(pages->indexOf(page_)));
  EventLoopWatchdog watchdog;
  pages->setCurrentWidget(page_);
  QVERIFY(Shown());
  // Summa's leader over the stored days: Best Recoming's bets.
  QCOMPARE(Cell(0, 0), QString::number(recoming));
  QVERIFY(Cell(0, 1).isEmpty());  // no split yet

  // A weight changed: the figures follow.
  const QString profit = Cell(4, 0);
  window_->findChild<QDoubleSpinBox*>("weight_bf")->setValue(3);
  window_->findChild<QDoubleSpinBox*>("weight_zorvat")->setValue(0);
  QVERIFY(Shown());
  QCOMPARE(window_->shown().systems->query.rule.weights[1], 3.0);
  QVERIFY(Cell(4, 0) != profit);

  // Split: the two sides add up to the whole.
  window_->findChild<QLineEdit*>("systemSplitEdit")
      ->setText(QString::fromStdString(FormatDate(AddDays(history.today, -2))));
  QVERIFY(Shown());
  QCOMPARE(Cell(0, 1).toInt() + Cell(0, 2).toInt(), Cell(0, 0).toInt());
  QVERIFY(Cell(0, 1).toInt() > 0 && Cell(0, 2).toInt() > 0);

  // A filter: no more than 8 runners.
  window_->findChild<QSpinBox*>("systemRunnersMaxBox")->setValue(8);
  QVERIFY(Shown());
  QVERIFY(Cell(0, 0).toInt() < recoming);

  // Saved, it is listed.
  window_->findChild<QLineEdit*>("systemNameEdit")->setText("Small fields");
  const int before = window_->shown().command;
  QTest::mouseClick(window_->findChild<QPushButton*>("saveSystemButton"), Qt::LeftButton);
  QVERIFY(WaitFor([&] { return window_->shown().command > before && !window_->runner().busy(); }));
  auto* saved = window_->findChild<QComboBox*>("systemsSavedBox");
  QVERIFY(saved->findData(QByteArray("Small fields")) > 0);
  QCOMPARE(saved->currentData().toByteArray(), QByteArray("Small fields"));
  QVERIFY(window_->findChild<QLabel*>("systemNoteLabel")->text().contains("Saved as"));
  QVERIFY(Shown());

  qInfo("longest event-loop gap: %lld ms", watchdog.longestGap());
  QVERIFY2(watchdog.longestGap() <= 100, qPrintable(QString::number(watchdog.longestGap())));
  if (const QByteArray shots = qgetenv("TROTIX_SHOTS"); !shots.isEmpty())
    QVERIFY(window_->grab().save(QString(shots) + "/systems.png"));
  window_.reset();
}

QTEST_MAIN(WindowSystemsTest)
#include "window_systems_test.moc"
