// The window with an archive an older release left (its pages stored as they came): offered for
// packing after start-up, packed on the worker with the progress panel, stopped by Cancel after a
// batch and usable so, resumed from Settings to the end, and its day replayed as before.
#include <SQLiteCpp/SQLiteCpp.h>
#include <QDialog>
#include <QProgressBar>
#include <QStandardPaths>

#include "archive/archive_care.h"
#include "gui/event_loop_watchdog.h"
#include "gui/launch.h"
#include "gui/progress_panel.h"
#include "gui/qt_ports.h"
#include "gui/settings_dialog.h"
#include "support/release_archive.h"
#include "window_rig.h"

using namespace trotix;
using namespace trotix::gui;
using namespace trotix::gui::tests;

namespace {

constexpr Date kDay{2026, 12, 8};  // the fixture's day

// Every body the day's answers refer to, in the order recorded.
std::vector<std::string> DayBodies(SqliteArchive& archive) {
  std::vector<std::string> bodies;
  const auto day = archive.LoadDay(kDay);
  for (const RecordedAnswer& a : day->answers)
    if (a.bodyId != 0) bodies.push_back(archive.Body(a.bodyId).value_or("(missing)"));
  return bodies;
}

long long LeftToPack(const std::filesystem::path& file) {
  SqliteArchive look(file);
  return DescribeArchive(look).bodiesToPack;
}

// What the window shows of the replayed day: its races and the card of the first.
struct Replayed {
  Table races, card;
};

}  // namespace

class WindowPackTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    ApplyLook(*qApp);
    QStandardPaths::setTestModeEnabled(true);
  }
  void olderArchivePacksStopsAndGoesOn();
  void failedCheckKeepsTheArchiveAsItIs();
  void closingTheWindowStopsThePacking();

 private:
  // An older release's archive in the rig's data folder, opened as the window opens it.
  std::filesystem::path PutReleaseArchive(Rig& rig) {
    const auto file = std::filesystem::path(rig.folder.path().toStdString()) / kArchiveFileName;
    if (!testing::UnpackReleaseArchive(file)) qFatal("the fixture cannot be read");
    rig.archive = std::make_shared<SqliteArchive>(file);
    return file;
  }
  // Records each step the progress panel is handed; `cancelAt`: Cancel is clicked on the panel
  // as the step with that count shows.
  void WatchProgress(Rig& rig, int cancelAt) {
    steps_.clear();
    disconnect(watch_);
    auto* panel = rig.window->findChild<ProgressPanel*>("progressPanel");
    watch_ = connect(&rig.window->ports(), &GuiPorts::gaugeSet, panel,
                     [this, panel, cancelAt](int, int value, int) {
                       auto* bar = panel->findChild<QProgressBar*>("pr");
                       steps_.push_back({value, panel->isVisible(), bar->value(), bar->maximum(),
                                         panel->findChild<QLabel*>("progressCaption")->text()});
                       if (value == cancelAt)
                         QTest::mouseClick(panel->findChild<QPushButton*>("progressCancel"),
                                           Qt::LeftButton);
                     });
  }
  Replayed Replay(Rig& rig) {
    rig.Find<QLineEdit>("loginEdit")->setText("demo");
    rig.Find<QLineEdit>("passwordEdit")->setText("demo");
    Replayed r;
    if (!rig.Wait(rig.window->ReplayDay(kDay))) return r;
    r.races = rig.window->shown().ws.MM;
    if (rig.Wait(rig.window->OpenRace(0))) r.card = rig.window->shown().ws.TAB;
    return r;
  }

  struct Step {
    int value;
    bool panelShown;
    int barValue, barMaximum;
    QString caption;
  };
  std::vector<Step> steps_;
  QMetaObject::Connection watch_;
};

void WindowPackTest::olderArchivePacksStopsAndGoesOn() {
  Rig rig;
  const auto file = PutReleaseArchive(rig);
  const auto reference = std::filesystem::path(rig.config.path().toStdString()) / "release.db";
  QVERIFY(testing::UnpackReleaseArchive(reference));
  SqliteArchive release(reference);
  const std::vector<std::string> bodies = DayBodies(release);
  const long long toPack = LeftToPack(file);
  QVERIFY2(toPack > 500, qPrintable(QString::number(toPack)));
  // The progress counts the bodies, then each day whose answers are packed.
  const long long units = toPack + static_cast<long long>(release.Days().size());
  const auto bytesBefore = ArchiveFileBytes(file);

  // "Later": nothing runs, and the day replays from the archive as it is.
  rig.answer = QMessageBox::No;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QTRY_COMPARE(rig.questions.size(), 1);
  QVERIFY2(rig.questions[0].contains(rig.folder.path()) && rig.questions[0].contains(" MB") &&
               rig.questions[0].endsWith("now?"),
           qPrintable(rig.questions[0]));
  QTest::qWait(100);
  QVERIFY(!rig.window->runner().busy());
  QCOMPARE(LeftToPack(file), toPack);
  const Replayed before = Replay(rig);
  QVERIFY(before.races.RowCount() > 0 && before.card.RowCount() > 0);

  // Asked again at the next start: "Pack now", then Cancel as the first batch shows.
  rig.answer = QMessageBox::Yes;
  rig.Reopen();
  WatchProgress(rig, 200);
  const int started = rig.window->Start();
  QVERIFY(rig.Wait(started));
  QTRY_COMPARE(rig.questions.size(), 2);
  QVERIFY(rig.Wait(started + 1, 60000));
  QVERIFY(!steps_.empty());
  QCOMPARE(steps_.front().caption,
           QString("Packing the archive: keeping a copy until it is checked"));
  const Step& stopped = steps_.back();
  QCOMPARE(stopped.value, 200);
  QVERIFY(stopped.panelShown);
  QCOMPARE(stopped.barValue, 200);
  QCOMPARE(stopped.barMaximum, static_cast<int>(units));
  QCOMPARE(stopped.caption, QString("Packing the archive: 200 of %1").arg(units));
  QVERIFY2(rig.StatusLine().contains(QString("stopped after 200 of %1").arg(units)),
           qPrintable(rig.StatusLine()));
  // Stopped half-way, the archive reads as it did, its copy kept for the check at the end.
  QCOMPARE(LeftToPack(file), toPack - 200);
  QVERIFY(std::filesystem::exists(OldArchiveCopy(file)));
  {
    SqliteArchive look(file);
    QVERIFY(DayBodies(look) == bodies);
  }

  // "Pack now" in Settings goes on from there to the end; the row follows it, with "Stop".
  SettingsDialog* dialog = rig.window->OpenSettings();
  auto* pack = dialog->findChild<QPushButton*>("packArchiveButton");
  auto* size = dialog->findChild<QLabel*>("archiveSizeLabel");
  QVERIFY(pack && pack->isVisible() && pack->text() == "Pack now");
  WatchProgress(rig, -1);
  QStringList rowTexts;
  connect(&rig.window->ports(), &GuiPorts::gaugeSet, dialog,
          [&] { rowTexts << size->text() + " | " + pack->text(); });
  const double copyMB = ArchiveFileBytes(OldArchiveCopy(file)) / 1e6;
  const int resumed = rig.window->shown().command + 1;
  // Another program holds the file's write lock: the packing waits on the worker, the window
  // never does.
  EventLoopWatchdog watchdog;
  SQLite::Database other(file, SQLite::OPEN_READWRITE);
  other.exec("BEGIN IMMEDIATE");
  QTest::mouseClick(pack, Qt::LeftButton);
  QTest::qWait(500);
  QVERIFY(rig.window->runner().busy());
  QCOMPARE(pack->text(), QString("Stop"));
  other.exec("ROLLBACK");
  QVERIFY(rig.Wait(resumed, 60000));
  // A call on the GUI thread would have waited for the lock, up to the busy time-out (5 s); the
  // bound leaves room for a loaded machine.
  QVERIFY2(watchdog.longestGap() <= 1000, qPrintable(QString::number(watchdog.longestGap())));
  std::vector<int> counts;
  for (const Step& s : steps_)
    if (s.value > 0) counts.push_back(s.value);
  QVERIFY(!counts.empty());
  QCOMPARE(steps_.front().caption, QString("Packing the archive: going on from where it stopped"));
  QCOMPARE(counts.front(), 400);  // not from the start again
  QCOMPARE(counts.back(), static_cast<int>(units));
  QVERIFY2(rowTexts.contains(QString("Packing the archive: 400 of %1 | Stop").arg(units)),
           qPrintable(rowTexts.join("; ")));
  const QString said = rig.StatusLine();
  // Before: the archive as packing first found it, which its copy holds.
  QVERIFY2(
      said.startsWith(
          QString("The archive is packed and checked: %1 MB before, ").arg(copyMB, 0, 'f', 1)) &&
          said.endsWith("MB now"),
      qPrintable(said));
  QVERIFY(!pack->isVisible());
  QVERIFY2(size->text().startsWith("Archive file:"), qPrintable(size->text()));
  dialog->reject();
  QVERIFY(!std::filesystem::exists(OldArchiveCopy(file)));
  QCOMPARE(LeftToPack(file), 0);
  QVERIFY(ArchiveFileBytes(file) * 2 < bytesBefore);
  {
    SqliteArchive look(file);
    QVERIFY(!HasBodiesToPack(look));
    QVERIFY(DayBodies(look) == bodies);
  }

  // Nothing is left to ask about; the day replays as before.
  rig.Reopen();
  QVERIFY(rig.StartAndWait());
  QTest::qWait(100);
  QCOMPARE(rig.questions.size(), 2);
  QVERIFY(!rig.window->OpenSettings()->findChild<QPushButton*>("packArchiveButton")->isVisible());
  const Replayed after = Replay(rig);
  QCOMPARE(after.races, before.races);
  QCOMPARE(after.card, before.card);
}

// The packed archive disagrees with its copy: the window says so, keeps the copy and goes on
// with the archive as it is.
void WindowPackTest::failedCheckKeepsTheArchiveAsItIs() {
  Rig rig;
  const auto file = PutReleaseArchive(rig);
  rig.answer = QMessageBox::Yes;
  rig.Open();
  WatchProgress(rig, 200);
  const int started = rig.window->Start();
  QVERIFY(rig.Wait(started + 1, 60000));
  QVERIFY(std::filesystem::exists(OldArchiveCopy(file)));
  {
    SQLite::Database old(OldArchiveCopy(file), SQLite::OPEN_READWRITE);
    old.exec("UPDATE bodies SET body = 'changed', size = 7 WHERE id = 300");
  }
  const int again = rig.window->PackArchive();
  QVERIFY(rig.Wait(again, 60000));
  QVERIFY2(rig.messages.size() == 1 && rig.messages[0].startsWith("Packing the archive failed") &&
               rig.messages[0].contains("body 300 differs"),
           qPrintable(rig.messages.join(" | ")));
  QVERIFY2(rig.StatusLine().contains("failed; the archive is used as it is"),
           qPrintable(rig.StatusLine()));
  QVERIFY(std::filesystem::exists(OldArchiveCopy(file)));
  QVERIFY(Replay(rig).card.RowCount() > 0);
}

// The window closed while it packs: the packing stops after its batch and the next start offers
// to go on.
void WindowPackTest::closingTheWindowStopsThePacking() {
  Rig rig;
  const auto file = PutReleaseArchive(rig);
  const long long toPack = LeftToPack(file);
  rig.answer = QMessageBox::Yes;
  rig.Open();
  bool closed = false;
  connect(&rig.window->ports(), &GuiPorts::gaugeSet, rig.window.get(), [&](int, int value, int) {
    // Queued behind this step and ahead of the next one, which the worker posts once this
    // returns: the window closes with the second batch done and the third not begun.
    if (value == 200)
      QMetaObject::invokeMethod(
          this,
          [&] {
            rig.window.reset();
            closed = true;
          },
          Qt::QueuedConnection);
  });
  rig.window->Start();
  QTRY_VERIFY_WITH_TIMEOUT(closed, 30000);
  QCOMPARE(LeftToPack(file), toPack - 400);
  QVERIFY(std::filesystem::exists(OldArchiveCopy(file)));
  rig.answer = QMessageBox::No;
  rig.Open();
  QVERIFY(rig.StartAndWait());
  QTRY_COMPARE(rig.questions.size(), 2);
}

QTEST_MAIN(WindowPackTest)
#include "window_pack_test.moc"
