#include "gui/launch.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/system_clock.h"
#include "archive/sqlite_archive.h"
#include "gui/event_loop_watchdog.h"
#include "gui/language.h"
#include "gui/main_window.h"
#include "gui/settings.h"
#include "net/curl_http_client.h"
#include "net/vendor_urls.h"
#include "options/host_options.h"
#include "options/setting_option.h"
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

namespace {

using Key = Settings::Key;

// What the command line of `trotix` gives.
struct LaunchOptions {
  // The hosts as options only: Settings::ForRun reads their variables, after the command line
  // and before the kept settings.
  std::map<Key, std::pair<CLI::Option*, std::string>> hosts;
  bool demo = false;
  int maxConnections = 8;
  int deadlineSeconds = 300;
  std::string dir, settingsFile, screenshot, page, size, archiveDay, language;
  std::string gapFile;               // with --screenshot: the event loop's longest pause goes here
  std::vector<std::string> choices;  // BOX=ITEM set before the picture
  int race = -1;
  bool noArchive = false;
  CLI::Option *cap = nullptr, *deadline = nullptr, *dirOption = nullptr, *languageOption = nullptr;
};

void AddOptions(CLI::App& cli, LaunchOptions& o) {
  cli.set_version_flag("--version", "trotix " + std::string(kVersion));
  for (const auto& [key, member] : kHostKeys) {
    for (const HostOption& h : kHostOptions) {
      if (h.member != member) continue;
      auto& [option, text] = o.hosts[key];
      option = cli.add_option(h.option, text,
                              std::string(h.help) + " (else " + h.variable + ", else Settings)");
    }
  }
  cli.add_flag("--demo", o.demo,
               "start the built-in demo vendor server and fill in its demo account");
  o.cap = cli.add_option("--max-connections", o.maxConnections, "parallel requests of one batch")
              ->check(Within(RunSetting::kMaxConnections));
  o.dirOption =
      cli.add_option("--dir", o.dir, "the data folder for this run (tx.log and saved pages)");
  cli.add_option("--settings", o.settingsFile,
                 "keep the settings in this INI file instead of the user's own");
  o.deadline =
      cli.add_option("--deadline", o.deadlineSeconds,
                     "seconds a command may wait on the servers before it stops as Cancel would "
                     "(a best-of run: per race); 0 for none")
          ->check(Within(RunSetting::kDeadlineSeconds));
  cli.add_option("--screenshot", o.screenshot,
                 "render the window to this PNG file and exit (signed in with --demo)");
  cli.add_option("--page", o.page, "with --screenshot: the page to show, by caption");
  cli.add_option("--race", o.race,
                 "with --screenshot: analyse this row of the ALL TABLE race list first (from 0)")
      ->check(CLI::NonNegativeNumber);
  cli.add_option("--size", o.size, "with --screenshot: the window's size, WIDTHxHEIGHT");
  cli.add_option(
      "--gap-file", o.gapFile,
      "with --screenshot: write the longest pause of the event loop, in ms, to this file");
  cli.add_option("--choose", o.choices,
                 "with --screenshot and --page: set a choice box by name to an item, "
                 "BOX=ITEM (proofBreakdownBox=band, proofStakingBox=percent)");
  cli.add_flag("--no-archive", o.noArchive,
               "keep nothing in the archive (trotix.db, or trotix-demo.db with --demo)");
  cli.add_option("--archive-day", o.archiveDay, "open a stored day, dd.mm.yyyy, offline");
  o.languageOption = cli.add_option("--language", o.language,
                                    "the window's captions for this run: en for English, \"\" "
                                    "as written (else Settings)")
                         ->check(CLI::IsMember({"", "en"}));
}

}  // namespace

std::optional<int> AnswerWithoutDisplay(int argc, char** argv) {
  const bool asked = std::any_of(argv + 1, argv + argc, [](std::string_view arg) {
    return arg == "--version" || arg == "--help" || arg == "-h";
  });
  if (!asked) return std::nullopt;
  CLI::App cli{"trotix: the Trotix window"};
  LaunchOptions o;
  AddOptions(cli, o);
  try {
    cli.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return cli.exit(e);
  } catch (const CLI::ParseError&) {
    // Options of Qt's own (-platform …) are known once QApplication has taken them.
  }
  return std::nullopt;
}

int RunTrotix(QApplication& app, int argc, char** argv) {
  // Names the platform's folders for the settings and the data.
  QApplication::setApplicationName("trotix");
  QApplication::setApplicationVersion(QString::fromLatin1(kVersion.data(), kVersion.size()));
  ApplyLook(app);
  CLI::App cli{"trotix: the Trotix window"};
  LaunchOptions o;
  AddOptions(cli, o);
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e);
  }
  Settings::RunValues given;
  for (const auto& [key, value] : o.hosts)
    if (value.first->count() > 0) given[key] = QString::fromStdString(value.second);
  if (o.cap->count() > 0) given[Key::kMaxConnections] = QString::number(o.maxConnections);
  if (o.deadline->count() > 0) given[Key::kDeadlineSeconds] = QString::number(o.deadlineSeconds);
  if (o.dirOption->count() > 0) given[Key::kDataFolder] = QString::fromStdString(o.dir);
  if (o.languageOption->count() > 0) given[Key::kLanguage] = QString::fromStdString(o.language);
  std::optional<Date> replayDay;
  if (!o.archiveDay.empty()) {
    replayDay = ParseDate(o.archiveDay);
    if (!replayDay || o.noArchive) {
      std::cerr << "--archive-day wants dd.mm.yyyy and the archive\n";
      return 2;
    }
  }

  WindowOptions options;
  options.settings = o.settingsFile.empty()
                         ? std::make_shared<Settings>()
                         : std::make_shared<Settings>(QString::fromStdString(o.settingsFile));
  // Before the first window text is made: the language is read once, at the start.
  UseLanguage(options.settings->ForRun(Key::kLanguage, given).toString());
  // A picture taken for the docs or a benchmark leaves the user's window as it was.
  if (!o.screenshot.empty()) options.settings->SetReadOnly(true);
  if (o.demo) {
    vendorsim::SimOptions sim;
    sim.date = SystemClock().Today();
    auto server = std::make_shared<vendorsim::VendorSim>(sim);
    server->Start();
    const Hosts hosts = server->SimHosts();
    for (const auto& [key, member] : kHostKeys) given[key] = QString::fromStdString(hosts.*member);
    options.keepAlive = server;
    options.dayClock = true;
    options.login = "demo";
    options.password = "demo";
  }
  options.commandLine = given;
  options.web = MakeRedirectingClient();
  options.zorvat = MakeNonRedirectingClient();
  if (!o.noArchive) {
    // The archive lives in the data folder, beside tx.log.
    const auto folder = RunSessionOptions(*options.settings, given).folder;
    try {
      options.archive = std::make_shared<SqliteArchive>(
          folder / (o.demo ? kDemoArchiveFileName : kArchiveFileName));
      if (options.archive->readOnly())
        options.archiveNote =
            QCoreApplication::translate(
                "Launch", "The archive %1 is read-only: it is read, nothing is recorded")
                .arg(QString::fromStdString(options.archive->file().string()))
                .toStdString();
    } catch (const ArchiveError& e) {
      options.archiveNote =
          e.what() +
          QCoreApplication::translate("Launch", "; working without the archive").toStdString();
    }
  }
  if (o.demo && options.archive) {
    options.demoHistory = [store = options.archive, cap = o.maxConnections](int days,
                                                                            Progress& progress) {
      vendorsim::DemoHistoryOptions o;
      o.today = SystemClock().Today();
      o.days = days;
      o.maxConnections = cap;
      o.stop = progress.stopSignal();
      progress.SetGauge(Progress::kPr, 0, days);
      progress.ShowPanel(true);
      int picks = 0, failed = 0;
      const auto built = vendorsim::BuildDemoHistory(
          *store, o, [&](const vendorsim::DemoHistoryDay& d, int i, int) {
            progress.SetGauge(Progress::kPr, i, days);
            picks += d.picks;
            failed += d.error.empty() ? 0 : 1;
          });
      progress.ShowPanel(false);
      const int done = static_cast<int>(built.size());
      QString text = QCoreApplication::translate(
                         "Launch", "Built %1 demo days with %2 picks, each day settled")
                         .arg(done - failed)
                         .arg(picks);
      if (failed > 0) text += QCoreApplication::translate("Launch", "; %1 days failed").arg(failed);
      if (done < days)
        text += QCoreApplication::translate(
                    "Launch", "; cancelled after %1 of %2 days, the days built are kept")
                    .arg(done)
                    .arg(days);
      return text.toStdString();
    };
  }

  MainWindow window(std::move(options));
  if (!o.size.empty()) {
    int width = 0, height = 0;
    if (std::sscanf(o.size.c_str(), "%dx%d", &width, &height) == 2) window.resize(width, height);
  }
  window.show();

  if (!o.screenshot.empty()) {
    // Nobody is there to dismiss a box.
    window.ports().SetMessageHook(
        [](const QString& text) { std::cerr << text.toStdString() << "\n"; });
    window.ports().SetQuestionHook([](const QString&, QMessageBox::StandardButtons buttons) {
      return buttons.testFlag(QMessageBox::Discard) ? QMessageBox::Discard : QMessageBox::No;
    });
    auto* watchdog = new EventLoopWatchdog(&window);
    int signIn = 0, analysis = 0;
    bool taken = false, pageSelected = false;
    QObject::connect(&window, &MainWindow::commandFinished, &window, [&](int) {
      if (taken) return;
      if (o.demo && signIn == 0 && !replayDay) {
        signIn = window.SignIn();
        return;
      }
      if (o.race >= 0 && analysis == 0) {
        analysis = window.OpenRace(o.race);
        return;
      }
      if (!o.page.empty() && !pageSelected) {
        pageSelected = true;
        if (!SelectPage(window, QString::fromStdString(o.page)))
          std::cerr << "no page captioned " << o.page << "\n";
        for (const std::string& choice : o.choices) {
          const auto at = choice.find('=');
          auto* box = window.findChild<QComboBox*>(QString::fromStdString(choice.substr(0, at)));
          const int item = box && at != std::string::npos
                               ? box->findData(QString::fromStdString(choice.substr(at + 1)))
                               : -1;
          if (item < 0) std::cerr << "cannot choose " << choice << "\n";
          if (item >= 0) box->setCurrentIndex(item);
        }
        // A page that asks for figures of its own is pictured once they are in.
        QApplication::processEvents();
        if (window.runner().busy()) return;
      }
      taken = true;
      // Let the last snapshot paint before the picture is taken.
      QTimer::singleShot(50, &window, [&] {
        const bool saved = SaveScreenshot(window, QString::fromStdString(o.screenshot));
        if (!saved) std::cerr << "cannot write " << o.screenshot << "\n";
        if (!o.gapFile.empty()) std::ofstream(o.gapFile) << watchdog->longestGap() << "\n";
        QApplication::exit(saved ? 0 : 1);
      });
    });
  }
  // A stored day replaces the live start-up; a day not stored is said and the window runs live.
  if (!replayDay || window.ReplayDay(*replayDay) == 0) window.Start();
  return app.exec();
}

}  // namespace trotix::gui
