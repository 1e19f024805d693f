#include "gui/launch.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QFontDatabase>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>
#include <iostream>

#include "app/system_clock.h"
#include "archive/sqlite_archive.h"
#include "gui/main_window.h"
#include "net/curl_http_client.h"
#include "options/host_options.h"
#include "vendorsim/demo_history.h"
#include "vendorsim/vendor_sim.h"

namespace trotix::gui {

void ApplyLook(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create("Fusion")) app.setStyle(fusion);
  QFont font("DejaVu Sans");
  font.setPixelSize(12);
  app.setFont(font);
}

bool SaveScreenshot(MainWindow& window, const QString& path) {
  QApplication::processEvents();
  return window.grab().save(path, "PNG");
}

bool SelectPage(MainWindow& window, const QString& caption) {
  const auto tabs = window.findChildren<QTabWidget*>();
  for (QTabWidget* pages : tabs) {
    for (int p = 0; p < pages->count(); ++p) {
      if (pages->tabText(p) != caption) continue;
      pages->setCurrentIndex(p);
      // A tab inside a page brings its page to the front as well.
      for (QTabWidget* outer : tabs)
        for (int q = 0; q < outer->count(); ++q)
          if (outer->widget(q)->isAncestorOf(pages)) outer->setCurrentIndex(q);
      return true;
    }
  }
  return false;
}

int RunTrotix(QApplication& app, int argc, char** argv) {
  ApplyLook(app);
  CLI::App cli{"trotix: the Trotix window"};
  Hosts hosts;
  AddHostOptions(cli, hosts);
  bool demo = false;
  int maxConnections = 8;
  std::string screenshot, page, archiveDay;
  int race = -1;
  bool noArchive = false;
  cli.add_flag("--demo", demo,
               "start the built-in demo vendor server and fill in its demo account");
  cli.add_option("--max-connections", maxConnections, "parallel requests of one batch")
      ->check(CLI::Range(1, 64));
  cli.add_option("--screenshot", screenshot,
                 "render the window to this PNG file and exit (signed in with --demo)");
  cli.add_option("--page", page, "with --screenshot: the page to show, by caption");
  cli.add_option("--race", race,
                 "with --screenshot: analyse this row of the ALL TABLE race list first (from 0)")
      ->check(CLI::NonNegativeNumber);
  cli.add_flag("--no-archive", noArchive,
               "keep nothing in the archive (trotix.db, or trotix-demo.db with --demo)");
  cli.add_option("--archive-day", archiveDay, "open a stored day, dd.mm.yyyy, offline");
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e);
  }
  std::optional<Date> replayDay;
  if (!archiveDay.empty()) {
    replayDay = ParseDate(archiveDay);
    if (!replayDay || noArchive) {
      std::cerr << "--archive-day wants dd.mm.yyyy and the archive\n";
      return 2;
    }
  }

  WindowOptions options;
  if (demo) {
    vendorsim::SimOptions sim;
    sim.date = SystemClock().Today();
    auto server = std::make_shared<vendorsim::VendorSim>(sim);
    server->Start();
    hosts = server->SimHosts();
    options.keepAlive = server;
    options.login = "demo";
    options.password = "demo";
  }
  options.session.hosts = hosts;
  options.session.maxConnections = maxConnections;
  options.web = MakeRedirectingClient();
  options.zorvat = MakeNonRedirectingClient();
  if (!noArchive) {
    // The data folder is the window's folder, as for tx.log.
    const auto file = options.session.folder / (demo ? kDemoArchiveFileName : kArchiveFileName);
    try {
      options.archive = std::make_shared<SqliteArchive>(file);
    } catch (const ArchiveError& e) {
      options.archiveNote = std::string(e.what()) + "; working without the archive";
    }
  }
  if (demo && options.archive) {
    options.demoHistory = [store = options.archive, cap = maxConnections](int days,
                                                                          Progress& progress) {
      vendorsim::DemoHistoryOptions o;
      o.today = SystemClock().Today();
      o.days = days;
      o.maxConnections = cap;
      progress.SetGauge(Progress::kPr, 0, days);
      progress.ShowPanel(true);
      int picks = 0, failed = 0;
      vendorsim::BuildDemoHistory(*store, o, [&](const vendorsim::DemoHistoryDay& d, int i, int) {
        progress.SetGauge(Progress::kPr, i, days);
        picks += d.picks;
        failed += d.error.empty() ? 0 : 1;
      });
      progress.ShowPanel(false);
      std::string text = "Built " + std::to_string(days - failed) + " demo days with " +
                         std::to_string(picks) + " picks, each day settled";
      if (failed > 0) text += "; " + std::to_string(failed) + " days failed";
      return text;
    };
  }

  MainWindow window(std::move(options));
  window.show();

  if (!screenshot.empty()) {
    // Nobody is there to dismiss a box.
    window.ports().SetMessageHook(
        [](const QString& text) { std::cerr << text.toStdString() << "\n"; });
    int signIn = 0, analysis = 0;
    bool taken = false;
    QObject::connect(&window, &MainWindow::commandFinished, &window, [&](int) {
      if (taken) return;
      if (demo && signIn == 0 && !replayDay) {
        signIn = window.SignIn();
        return;
      }
      if (race >= 0 && analysis == 0) {
        analysis = window.OpenRace(race);
        return;
      }
      if (!page.empty() && !SelectPage(window, QString::fromStdString(page)))
        std::cerr << "no page captioned " << page << "\n";
      taken = true;
      // Let the last snapshot paint before the picture is taken.
      QTimer::singleShot(50, &window, [&] {
        const bool saved = SaveScreenshot(window, QString::fromStdString(screenshot));
        if (!saved) std::cerr << "cannot write " << screenshot << "\n";
        QApplication::exit(saved ? 0 : 1);
      });
    });
  }
  // A stored day replaces the live start-up; a day not stored is said and the window runs live.
  if (!replayDay || window.ReplayDay(*replayDay) == 0) window.Start();
  return app.exec();
}

}  // namespace trotix::gui
