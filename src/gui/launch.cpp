#include "gui/launch.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QFontDatabase>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>
#include <iostream>

#include "app/system_clock.h"
#include "gui/main_window.h"
#include "net/curl_http_client.h"
#include "options/host_options.h"
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
  std::string screenshot, page;
  int race = -1;
  cli.add_flag("--demo", demo,
               "start the built-in demo vendor server and fill in its demo account");
  cli.add_option("--max-connections", maxConnections, "parallel requests of one batch")
      ->check(CLI::Range(1, 64));
  int deadlineSeconds = 300;
  cli.add_option("--deadline", deadlineSeconds,
                 "seconds a command may wait on the servers before it stops as Cancel would "
                 "(a best-of run: per race); 0 for none")
      ->check(CLI::NonNegativeNumber);
  cli.add_option("--screenshot", screenshot,
                 "render the window to this PNG file and exit (signed in with --demo)");
  cli.add_option("--page", page, "with --screenshot: the page to show, by caption");
  cli.add_option("--race", race,
                 "with --screenshot: analyse this row of the ALL TABLE race list first (from 0)")
      ->check(CLI::NonNegativeNumber);
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e);
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
  options.session.deadline = std::chrono::seconds(deadlineSeconds);
  options.web = MakeRedirectingClient();
  options.zorvat = MakeNonRedirectingClient();

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
      if (demo && signIn == 0) {
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
  window.Start();
  return app.exec();
}

}  // namespace trotix::gui
