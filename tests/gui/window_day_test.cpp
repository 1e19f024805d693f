// A day of use by a new user, offscreen against the demo vendor server: the data folder moved
// with its archive, the window by keyboard alone, a status line that keeps up, and the settings
// as they are in force.
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QMessageBox>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "app/data_folder.h"
#include "app/remember_me.h"
#include "gui/launch.h"
#include "gui/pages/page_parts.h"
#include "gui/settings_dialog.h"
#include "gui/status_line.h"
#include "report/report_page.h"
#include "window_rig.h"

using namespace trotix;
using namespace trotix::gui;
using namespace trotix::gui::tests;

namespace {

namespace fs = std::filesystem;

fs::path PathOf(const QString& folder) {
  return fs::path(folder.toStdString());
}

// Changes the data folder in Settings and waits until the window has applied it.
bool ChooseFolder(Rig& rig, const QString& folder) {
  SettingsDialog* dialog = rig.window->OpenSettings();
  dialog->findChild<QLineEdit*>("dataFolderEdit")->setText(folder);
  return rig.Do([&] { dialog->accept(); });
}

}  // namespace

class WindowDayTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    ApplyLook(*qApp);
  }
  void newDataFolderTakesEveryFileAlong();
  void keyboardAloneSignsInAndWalksTheRaceList();
  void statusLineSaysWhatEachCommandDid();
  void connectionFailedBoxCarriesTheDetail();
  void settingsShowTheValuesInForce();
};

// The archive (closed on the worker, moved with its log, reopened), tx.log and the saved pages go
// to the new folder together; a folder holding files of the same names is asked about first.
void WindowDayTest::newDataFolderTakesEveryFileAlong() {
  Rig rig;
  // The folder comes from the settings, as when no --dir is given.
  rig.commandLine.erase(Settings::Key::kDataFolder);
  const QString first = rig.folder.filePath("first"), second = rig.folder.filePath("second");
  QVERIFY(QDir().mkpath(first));
  rig.settings->Set(Settings::Key::kDataFolder, first);
  rig.archive = std::make_shared<SqliteArchive>(PathOf(first) / kArchiveFileName);
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  rig.Find<QCheckBox>("rememberMeBox")->setChecked(true);
  QVERIFY(rig.SignIn("demo", "demo"));
  QVERIFY(rig.Do([&] { w.OpenRace(0); }));
  QVERIFY(rig.WaitIdle());
  auto* tab = rig.Find<QTableView>("TAB");
  tab->setFocus();
  tab->setCurrentIndex(tab->model()->index(0, 1));
  QVERIFY(rig.Do([&] { QTest::keyClick(tab, Qt::Key_Return); }));
  QVERIFY(rig.Do([&] { rig.Find<QPushButton>("saveReportButton")->click(); }));
  const std::vector<std::string> kept = DataFileNames(PathOf(first));
  for (const char* name : {kArchiveFileName, kRememberMeFile, kReportFileName})
    QVERIFY2(std::count(kept.begin(), kept.end(), name) == 1, name);
  const std::vector<Date> days = rig.archive->Days();
  QVERIFY(!days.empty());

  QVERIFY(ChooseFolder(rig, second));
  QVERIFY2(rig.StatusLine().startsWith("The data folder is now"), qPrintable(rig.StatusLine()));
  QCOMPARE(DataFileNames(PathOf(first)), std::vector<std::string>());
  for (const char* name : {kArchiveFileName, kRememberMeFile, kReportFileName})
    QVERIFY2(QFileInfo::exists(QDir(second).filePath(name)), name);
  QCOMPARE(rig.archive->file(), PathOf(second) / kArchiveFileName);
  QCOMPARE(rig.archive->Days(), days);
  // From now on every file goes to the new folder alone: the report, and a new pick into the
  // moved archive, as another program opening it there sees.
  const std::size_t picks = rig.archive->Picks().size();
  QVERIFY(picks > 0);
  QVERIFY(rig.Do([&] { w.OpenRace(1); }));
  QVERIFY(rig.WaitIdle());
  tab->setFocus();
  tab->setCurrentIndex(tab->model()->index(0, 1));
  QVERIFY(rig.Do([&] { QTest::keyClick(tab, Qt::Key_Return); }));
  QCOMPARE(SqliteArchive(PathOf(second) / kArchiveFileName).Picks().size(), picks + 1);
  QVERIFY(rig.Do([&] { rig.Find<QPushButton>("exportCsvButton")->click(); }));
  QVERIFY(QFileInfo::exists(QDir(second).filePath(kReportCsvFileName)));
  QCOMPARE(DataFileNames(PathOf(first)), std::vector<std::string>());

  // A folder that holds a tx.log of its own: "No" keeps the files where they are, and the
  // folder in force and kept with them.
  const QString third = rig.folder.filePath("third");
  QVERIFY(QDir().mkpath(third));
  std::ofstream(PathOf(third) / kRememberMeFile) << "other\r\nsecret\r\n";
  rig.answer = QMessageBox::No;
  QVERIFY(ChooseFolder(rig, third));
  QCOMPARE(rig.questions.size(), 1);
  QVERIFY2(rig.questions[0].contains(third) && rig.questions[0].contains("tx.log"),
           qPrintable(rig.questions[0]));
  QCOMPARE(rig.settings->Get(Settings::Key::kDataFolder).toString(), second);
  QCOMPARE(rig.archive->file(), PathOf(second) / kArchiveFileName);
  QVERIFY(QFileInfo::exists(QDir(second).filePath(kRememberMeFile)));
  // "Yes" moves them, replacing the one there.
  rig.answer = QMessageBox::Yes;
  QVERIFY(ChooseFolder(rig, third));
  QCOMPARE(rig.questions.size(), 2);
  QCOMPARE(rig.archive->file(), PathOf(third) / kArchiveFileName);
  QCOMPARE(DataFileNames(PathOf(second)), std::vector<std::string>());
  QCOMPARE(rig.archive->Days(), days);
  QFile log(QDir(third).filePath(kRememberMeFile));
  QVERIFY(log.open(QIODevice::ReadOnly));
  QVERIFY(log.readAll().startsWith("demo"));
}

// Two minutes by keyboard only: the first field has the focus at start, Enter goes on, Enter on
// "Remember me" signs in; Tab goes from the race list to its runners; the focused grid shows it.
void WindowDayTest::keyboardAloneSignsInAndWalksTheRaceList() {
  Rig rig;
  MainWindow& w = rig.Open();
  QApplication::setActiveWindow(&w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QVERIFY(rig.StartAndWait());
  auto* login = rig.Find<QLineEdit>("loginEdit");
  QCOMPARE(QApplication::focusWidget(), login);
  QTest::keyClicks(QApplication::focusWidget(), "demo");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), rig.Find<QLineEdit>("passwordEdit"));
  QTest::keyClicks(QApplication::focusWidget(), "demo");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  auto* remember = rig.Find<QCheckBox>("rememberMeBox");
  QCOMPARE(QApplication::focusWidget(), remember);
  QTest::keyClick(remember, Qt::Key_Space);
  QVERIFY(remember->isChecked());
  QVERIFY(rig.Do([&] { QTest::keyClick(remember, Qt::Key_Return); }));
  QCOMPARE(rig.VisibleTabs(), kWorkingTabs);

  rig.Find<QTabWidget>("pages")->setCurrentIndex(kPageAllTable);
  auto* mm = rig.Find<QTableView>("MM");
  auto* tab = rig.Find<QTableView>("TAB");
  mm->setFocus();
  mm->setCurrentIndex(mm->model()->index(rig.RaceWithMarket(), 1));
  QVERIFY(rig.Do([&] { QTest::keyClick(mm, Qt::Key_Return); }));
  // The buttons beside the race's header are there to take the focus, yet come after the grids.
  QVERIFY(rig.Find<QPushButton>("tvButton")->isEnabled());
  QTest::keyClick(mm, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), tab);
  // The focused grid is framed in the highlight colour, and only the focused one.
  const auto edge = [](QWidget* grid) {
    const QImage picture = grid->grab().toImage();
    return picture.pixelColor(picture.width() / 2, 1);  // above the header, beside no row
  };
  const QColor highlight = mm->palette().color(QPalette::Active, QPalette::Highlight);
  QCOMPARE(edge(tab), highlight);
  QVERIFY(edge(mm) != highlight);
  QTest::keyClick(tab, Qt::Key_Backtab, Qt::ShiftModifier);
  QCOMPARE(QApplication::focusWidget(), mm);
  QCOMPARE(edge(mm), highlight);
  QVERIFY(edge(tab) != highlight);

  // The next run remembers the sign-in: the focus waits on "ВХОД", so Enter alone signs in.
  rig.Reopen();
  QApplication::setActiveWindow(rig.window.get());
  QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
  QVERIFY(rig.StartAndWait());
  QCOMPARE(QApplication::focusWidget(), rig.Find<QPushButton>("signInButton"));
  QVERIFY(rig.Do([&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }));
  QCOMPARE(rig.VisibleTabs(), kWorkingTabs);
}

// Against a server answering each request in 150 ms: what a command did replaces what the last
// one said; a Cancel, "Обновить" and sign-out each say something; a long line is cut in the
// middle, whole in its tooltip, and never widens the window.
void WindowDayTest::statusLineSaysWhatEachCommandDid() {
  Rig rig(150);
  // A folder name long enough to need more than the window's width.
  const QString deep = rig.folder.filePath(QString("a-long-folder-name-").repeated(8) + "end");
  rig.commandLine[Settings::Key::kDataFolder] = deep;
  MainWindow& w = rig.Open();
  w.resize(kClientWidth, kClientHeight);
  QTest::qWait(50);
  auto* line = rig.Find<StatusLine>("statusLine");
  QVERIFY(line->text().startsWith("Data folder: ") && line->text().endsWith("end"));
  QCOMPARE(line->toolTip(), line->text());
  QVERIFY2(line->ShownText().contains(QChar(0x2026)) && line->ShownText().endsWith("end"),
           qPrintable(line->ShownText()));
  QVERIFY(line->fontMetrics().horizontalAdvance(line->ShownText()) <= line->width());
  QCOMPARE(w.width(), kClientWidth);

  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  QVERIFY2(rig.StatusLine().startsWith("Signed in: "), qPrintable(rig.StatusLine()));
  const int race = rig.RaceWithMarket();
  QVERIFY(race >= 0);
  QVERIFY(rig.Do([&] { w.OpenRace(race); }));
  QVERIFY(rig.Do([&] { rig.Find<QPushButton>("tvButton")->click(); }));
  QVERIFY2(rig.StatusLine().startsWith("Saved ") && rig.StatusLine().endsWith("video.html"),
           qPrintable(rig.StatusLine()));
  // Another race: the saved page is old news.
  QVERIFY(rig.Do([&] { w.OpenRace(race == 0 ? 1 : 0); }));
  const QString time = rig.Find<QLabel>("u1")->text();
  QVERIFY2(rig.StatusLine().startsWith("Race " + time), qPrintable(rig.StatusLine()));

  // "Обновить".
  QVERIFY(rig.Do([&] { rig.Find<QPushButton>("refreshMovesButton")->click(); }));
  QVERIFY2(rig.StatusLine().startsWith("Market moves reloaded at "), qPrintable(rig.StatusLine()));

  // Cancel in the middle of a best-of run.
  rig.Find<QTabWidget>("pages")->setCurrentIndex(kPageReport);
  bool cancelled = false;
  auto watch = QObject::connect(&w, &MainWindow::stepShown, [&] {
    if (cancelled) return;
    cancelled = true;
    QTimer::singleShot(0, rig.Find<QPushButton>("progressCancel"), &QPushButton::click);
  });
  QVERIFY(rig.Do([&] { rig.Find<QPushButton>("bestRankButton")->click(); }));
  QObject::disconnect(watch);
  QVERIFY(cancelled);
  QCOMPARE(rig.StatusLine(), QString("Best Rank: cancelled"));

  // Sign-out.
  QVERIFY(rig.Do([&] { w.SignOut(); }));
  QCOMPARE(rig.StatusLine(), QString("Signed out; the report is kept"));
}

// The system's "Connection failed!" box says beneath it which address failed and why.
void WindowDayTest::connectionFailedBoxCarriesTheDetail() {
  Rig rig;
  const QString gone = rig.PointAtAGoneServer();
  MainWindow& w = rig.Open();
  w.ports().SetMessageHook(nullptr);  // the real box
  QStringList texts, details;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    texts << box->text();
    details << box->informativeText();
    box->accept();
  });
  watcher.start(20);
  QVERIFY(rig.StartAndWait());
  QVERIFY(rig.SignIn("demo", "demo"));
  QCOMPARE(texts, QStringList{"Connection failed!"});
  QVERIFY2(details[0].startsWith("Connection failed: " + gone + "/") && details[0].contains(" — "),
           qPrintable(details[0]));
  QCOMPARE(rig.StatusLine(), details[0]);
}

// `--max-connections 3 --deadline 15` rule this run: the dialog shows 3 and 15, says they are set
// for this run, and does not make them the kept values unless the user changes them.
void WindowDayTest::settingsShowTheValuesInForce() {
  Rig rig;
  rig.commandLine[Settings::Key::kMaxConnections] = "3";
  rig.commandLine[Settings::Key::kDeadlineSeconds] = "15";
  rig.settings->Set(Settings::Key::kMaxConnections, 8);
  rig.settings->Set(Settings::Key::kDeadlineSeconds, 300);
  MainWindow& w = rig.Open();
  QVERIFY(rig.StartAndWait());
  SettingsDialog* dialog = w.OpenSettings();
  auto* connections = dialog->findChild<QSpinBox*>("maxConnectionsBox");
  auto* deadline = dialog->findChild<QSpinBox*>("deadlineBox");
  QCOMPARE(connections->value(), 3);
  QCOMPARE(deadline->value(), 15);
  QVERIFY(connections->font().bold() && deadline->font().bold());
  QVERIFY2(connections->toolTip().contains("kept: 8"), qPrintable(connections->toolTip()));
  QVERIFY(deadline->toolTip().contains("kept: 300"));
  QVERIFY(!dialog->findChild<QSpinBox*>("autoRefreshBox")->font().bold());
  // The servers and the data folder of the command line, as they rule the run.
  QCOMPARE(dialog->findChild<QLineEdit*>("dataServerEdit")->text(),
           rig.commandLine[Settings::Key::kDataServer]);
  QCOMPARE(dialog->findChild<QLineEdit*>("dataFolderEdit")->text(), rig.folder.path());
  const QString note = dialog->findChild<QLabel*>("overriddenNote")->text();
  QVERIFY2(
      note.contains("connections") && note.contains("deadline") && note.contains("data server"),
      qPrintable(note));

  // OK with the run's values left alone keeps what was kept.
  dialog->findChild<QSpinBox*>("autoRefreshBox")->setValue(7);
  QVERIFY(rig.Do([&] { dialog->accept(); }));
  QCOMPARE(rig.settings->Get(Settings::Key::kAutoRefreshMinutes).toInt(), 7);
  QCOMPARE(rig.settings->Get(Settings::Key::kMaxConnections).toInt(), 8);
  QCOMPARE(rig.settings->Get(Settings::Key::kDeadlineSeconds).toInt(), 300);
  QCOMPARE(rig.settings->Get(Settings::Key::kDataFolder),
           Settings::Default(Settings::Key::kDataFolder));
  // A value the user changes is kept for the next runs.
  dialog = w.OpenSettings();
  dialog->findChild<QSpinBox*>("maxConnectionsBox")->setValue(5);
  QVERIFY(rig.Do([&] { dialog->accept(); }));
  QCOMPARE(rig.settings->Get(Settings::Key::kMaxConnections).toInt(), 5);
  QCOMPARE(rig.settings->Get(Settings::Key::kDeadlineSeconds).toInt(), 300);
}

QTEST_MAIN(WindowDayTest)
#include "window_day_test.moc"
