#pragma once
// One window on its own demo server, its own data folder and its own settings file, as the window
// tests drive it.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/system_clock.h"
#include "archive/sqlite_archive.h"
#include "gui/main_window.h"
#include "gui/settings.h"
#include "net/curl_http_client.h"
#include "text/strings.h"
#include "vendorsim/vendor_sim.h"

namespace trotix::gui::tests {

inline Date Today() {
  return SystemClock().Today();
}

// One window on its own demo server, its own data folder and its own settings file, with
// message boxes, questions, file dialogs and the browser answered by hooks. The command line
// names the demo server and the data folder, as `trotix --demo --dir …` would.
struct Rig {
  explicit Rig(int latencyMs = 0) {
    vendorsim::SimOptions o;
    o.date = Today();
    o.races = 12;
    o.latencyMinMs = o.latencyMaxMs = latencyMs;
    server = std::make_unique<vendorsim::VendorSim>(o);
    server->Start();
    settings = std::make_shared<Settings>(config.filePath("trotix.ini"));
    const Hosts hosts = server->SimHosts();
    for (const auto& [key, member] : kHostKeys)
      commandLine[key] = QString::fromStdString(hosts.*member);
    commandLine[Settings::Key::kDataFolder] = folder.path();
  }

  MainWindow& Open() {
    WindowOptions w;
    w.settings = settings;
    w.commandLine = commandLine;
    w.web = MakeRedirectingClient();
    w.zorvat = MakeNonRedirectingClient();
    w.archive = archive;
    window = std::make_unique<MainWindow>(std::move(w));
    window->ports().SetMessageHook([this](const QString& text) { messages << text; });
    window->ports().SetBrowserHook([this](const QString& target) { opened << target; });
    window->ports().SetQuestionHook(
        [this](const QString& text, QMessageBox::StandardButtons buttons) {
          questions << text;
          return buttons.testFlag(answer) ? answer : QMessageBox::Cancel;
        });
    window->ports().SetFileDialogHook([this](const QString& suggested) {
      suggestions << suggested;
      return chosen;
    });
    window->show();
    return *window;
  }

  // Points every host of the command line at a server that has stopped; returns its address.
  QString PointAtAGoneServer() {
    QString gone;
    {
      vendorsim::VendorSim stopped({});
      stopped.Start();
      gone = QString::fromStdString(stopped.BaseUrl());
    }
    for (const auto& [key, member] : kHostKeys) commandLine[key] = gone;
    return gone;
  }

  // The window ends as at the end of a run; the next Open is the next run.
  void Reopen() {
    window.reset();
    Open();
  }

  // Waits until command `n` is on screen.
  bool Wait(int n, int timeoutMs = 15000) {
    if (n == 0) return false;
    QElapsedTimer t;
    t.start();
    while (window->shown().command < n && t.elapsed() < timeoutMs) QTest::qWait(10);
    return window->shown().command >= n;
  }

  // Waits until no command runs: a page may ask for figures of its own after a command ends, and
  // the window refuses a user's command meanwhile, as its disabled buttons would.
  bool WaitIdle(int timeoutMs = 15000) {
    QElapsedTimer t;
    t.start();
    while (window->runner().busy() && t.elapsed() < timeoutMs) QTest::qWait(10);
    return !window->runner().busy();
  }

  bool StartAndWait() { return Wait(window->Start()); }

  bool SignIn(const QString& login, const QString& password) {
    Find<QLineEdit>("loginEdit")->setText(login);
    Find<QLineEdit>("passwordEdit")->setText(password);
    const int before = window->shown().command;
    QTest::mouseClick(Find<QPushButton>("signInButton"), Qt::LeftButton);
    return Wait(before + 1);
  }

  template <class W>
  W* Find(const char* name) {
    W* w = window->findChild<W*>(name);
    if (!w) qFatal("no widget %s", name);
    return w;
  }

  QStringList VisibleTabs() {
    auto* page = Find<QTabWidget>("pages");
    QStringList tabs;
    for (int p = 0; p < page->count(); ++p)
      if (page->isTabVisible(p)) tabs << page->tabText(p);
    return tabs;
  }

  // A double-click as the user makes it: the view pairs the press with the double-click.
  void DoubleClickCell(QTableView* view, int row, int col) {
    const QModelIndex i = view->model()->index(row, col);
    view->scrollTo(i);
    const QPoint at = view->visualRect(i).center();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
  }

  // Runs one user action and waits until its command is on screen.
  template <class Action>
  bool Do(Action action) {
    const int before = window->shown().command;
    action();
    return Wait(before + 1);
  }

  void ClickCell(QTableView* view, int row, int col) {
    const QModelIndex i = view->model()->index(row, col);
    view->scrollTo(i);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(i).center());
  }

  // The first race of MM that the exchange's race list T1 also holds.
  int RaceWithMarket() {
    const WorkspaceView& ws = window->shown().ws;
    const auto key = [](const Table& t, int row, int col) { return Upper(Trim(t.Text(row, col))); };
    for (int k = 0; k < ws.MM.RowCount(); ++k)
      for (int q = 0; q < ws.T1.RowCount(); ++q)
        if (key(ws.MM, k, 1) == key(ws.T1, q, 1) && key(ws.MM, k, 2) == key(ws.T1, q, 2)) return k;
    return -1;
  }

  bool InFolder(const QString& path, const QString& fileName) {
    const QFileInfo file(path);
    return file.fileName() == fileName && file.exists() &&
           file.absoluteDir() == QDir(folder.path());
  }

  QString StatusLine() { return Find<QLabel>("statusLine")->text(); }

  QTemporaryDir folder, config;
  std::unique_ptr<vendorsim::VendorSim> server;
  std::shared_ptr<Settings> settings;
  Settings::RunValues commandLine;
  std::shared_ptr<SqliteArchive> archive;  // none unless a test opens one
  std::unique_ptr<MainWindow> window;
  QStringList messages, opened, questions, suggestions;
  QMessageBox::StandardButton answer = QMessageBox::Yes;  // to every question that offers it
  QString chosen;                                         // in every file dialog
};

inline const QStringList kWorkingTabs = {"Today",  "Scalp Odds", "Zorvat",   "Tips",
                                         "Result", "Report",     "ALL TABLE"};

}  // namespace trotix::gui::tests
