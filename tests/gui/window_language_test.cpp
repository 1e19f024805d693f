// The window's captions in English: every text a user can meet, on every page, with the English
// translation loaded, and the same walk finding today's Russian captions as written.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <memory>

#include "app/session.h"
#include "app/system_clock.h"
#include "app/view_state.h"
#include "gui/language.h"
#include "gui/main_window.h"
#include "gui/settings.h"
#include "gui/settings_dialog.h"
#include "model/prices.h"
#include "model/schemas.h"
#include "model/workspace.h"
#include "net/curl_http_client.h"
#include "report/report_list.h"
#include "vendorsim/vendor_sim.h"

using namespace trotix;
using namespace trotix::gui;

namespace {

const QRegularExpression kCyrillic("[\\x{0400}-\\x{04FF}]");

// The window on a demo server of its own, messages caught by a hook, the browser never opened.
struct Window {
  explicit Window(const Settings::RunValues& given = {}) {
    vendorsim::SimOptions o;
    o.date = SystemClock().Today();
    o.races = 6;
    server = std::make_unique<vendorsim::VendorSim>(o);
    server->Start();
    settings = std::make_shared<Settings>(config.filePath("trotix.ini"));
    WindowOptions w;
    w.settings = settings;
    const Hosts hosts = server->SimHosts();
    for (const auto& [key, member] : kHostKeys)
      w.commandLine[key] = QString::fromStdString(hosts.*member);
    w.commandLine[Settings::Key::kDataFolder] = folder.path();
    w.commandLine.insert(given.begin(), given.end());
    w.web = MakeRedirectingClient();
    w.zorvat = MakeNonRedirectingClient();
    window = std::make_unique<MainWindow>(std::move(w));
    window->ports().SetMessageHook([this](const QString& text) { messages << text; });
    window->ports().SetBrowserHook([](const QString&) {});  // no browser opens in a test
    window->resize(1280, 900);
    window->show();
  }

  bool Wait(int command) {
    QElapsedTimer t;
    t.start();
    while (command > 0 && window->shown().command < command && t.elapsed() < 15000)
      QTest::qWait(10);
    return command > 0 && window->shown().command >= command;
  }

  bool SignIn(const QString& password) {
    window->findChild<QLineEdit*>("loginEdit")->setText("demo");
    window->findChild<QLineEdit*>("passwordEdit")->setText(password);
    return Wait(window->SignIn());
  }

  QTemporaryDir config, folder;
  std::unique_ptr<vendorsim::VendorSim> server;
  std::shared_ptr<Settings> settings;
  std::unique_ptr<MainWindow> window;
  QStringList messages;
};

// Every text of `root` and the widgets in it a user can read: captions, tool tips, menu
// entries, tab captions, choice lists, the grids' column captions and header hints. The grids'
// cells are the vendor's data and are left out.
QStringList WindowTexts(const QWidget* root) {
  QStringList texts{root->windowTitle(), root->toolTip()};
  for (const QWidget* w : root->findChildren<QWidget*>()) {
    texts << w->toolTip() << w->windowTitle();
    if (const auto* l = qobject_cast<const QLabel*>(w)) texts << l->text();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) texts << b->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) texts << g->title();
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) texts << e->placeholderText();
    if (const auto* c = qobject_cast<const QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
    if (const auto* t = qobject_cast<const QTabWidget*>(w))
      for (int i = 0; i < t->count(); ++i) texts << t->tabText(i) << t->tabToolTip(i);
    if (const auto* v = qobject_cast<const QAbstractItemView*>(w); v && v->model())
      for (int c = 0; c < v->model()->columnCount(); ++c)
        for (int role : {Qt::DisplayRole, Qt::ToolTipRole})
          texts << v->model()->headerData(c, Qt::Horizontal, role).toString();
  }
  for (const QAction* a : root->findChildren<QAction*>()) texts << a->text() << a->toolTip();
  texts.removeAll(QString());
  return texts;
}

QStringList Russian(const QStringList& texts) {
  return texts.filter(kCyrillic);
}

}  // namespace

class WindowLanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { UseLanguage(kAsWritten); }

  // The core's texts reach the window untranslated; each one the window can show has its entry,
  // so a caption added to a grid without its English fails here.
  void englishHasEveryCoreText() {
    QTranslator english;
    QVERIFY(english.load(":/i18n/trotix_en.qm"));
    QStringList missing;
    const auto check = [&](const std::string& text) {
      if (!text.empty() && english.translate("CoreText", text.c_str()).isNull())
        missing << QString::fromStdString(text);
    };
    for (int g = 0; g <= static_cast<int>(Grid::RR); ++g)
      for (const Column& c : *GridColumns(static_cast<Grid>(g))) {
        check(c.caption);
        check(c.hint);
      }
    for (int p = 0; p < kPageCount; ++p) check(PageCaption(p));
    for (const char* text : {kAuthorizationFailed, kConnectionFailed, kNoRaces, kSelectHorse,
                             kAddedToReport, kExchangeTotalCaption, kNoPriceHint, kNotLoaded})
      check(text);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(" | ")));
  }

  // Signed in, a race analysed, every page in front once, the Settings dialog open: English
  // leaves no Russian anywhere, and the captions say what the buttons do.
  void englishLeavesNoRussianOnAnyPage() {
    for (const bool english : {false, true}) {
      QVERIFY(UseLanguage(english ? "en" : kAsWritten));
      Window w;
      QVERIFY(w.Wait(w.window->Start()));
      QVERIFY(w.SignIn("demo"));
      QVERIFY(w.Wait(w.window->OpenRace(0)));
      QStringList texts;
      auto* pages = w.window->findChild<QTabWidget*>("pages");
      for (int p = 0; p < pages->count(); ++p) {
        if (!pages->isTabVisible(p)) continue;
        pages->setCurrentIndex(p);
        QTest::qWait(1);
        texts << WindowTexts(w.window.get());
      }
      SettingsDialog* dialog = w.window->OpenSettings();
      texts << WindowTexts(dialog);
      dialog->reject();

      const auto* signIn = w.window->findChild<QAbstractButton*>("signInButton");
      const auto* refresh = w.window->findChild<QAbstractButton*>("refreshMovesButton");
      const auto* remove = w.window->findChild<QAction*>("deleteReportRowAction");
      if (english) {
        QVERIFY2(Russian(texts).isEmpty(), qPrintable(Russian(texts).join(" | ")));
        QCOMPARE(signIn->text(), QString("Sign in"));
        QCOMPARE(refresh->text(), QString("Refresh"));
        QCOMPARE(remove->text(), QString("Delete"));
        QVERIFY(texts.contains("Trainer"));  // the hint of the column "Т"
        QVERIFY(texts.contains("Language:"));
      } else {
        // As written: the walk sees the Russian captions, so it would see any left in English.
        for (const char* text : {"ВХОД", "Обновить", "Удалить", "Т", "Тренер", "Жокей"})
          QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
        QCOMPARE(signIn->text(), QString::fromUtf8("ВХОД"));
      }
    }
  }

  // The messages the core sends are shown in English, their broken English mended.
  void messagesInEnglish() {
    QVERIFY(UseLanguage("en"));
    Window w;
    QVERIFY(w.Wait(w.window->Start()));
    QVERIFY(w.SignIn("wrong"));
    QCOMPARE(w.messages.value(0), QString("Authorization failed!"));
    QVERIFY(w.SignIn("demo"));
    // "Delete" with no report row chosen.
    w.window->findChild<QAction*>("deleteReportRowAction")->trigger();
    QVERIFY(w.Wait(w.window->shown().command + 1));
    QCOMPARE(w.messages.value(1), QString("Please select a horse"));

    // A release the server no longer knows: three lines, each in English, the site between.
    Window outdated;
    outdated.server->Override("/refresh/trotix3.8.txt", "gone", 404);
    QVERIFY(outdated.Wait(outdated.window->Start()));
    QVERIFY(outdated.SignIn("demo"));
    const QString update = outdated.messages.value(0);
    QVERIFY2(update.startsWith("Please update to the new version!\n\rGo to site "),
             qPrintable(update));
    QVERIFY2(update.endsWith("\n\rDownload the new version from the web site!"),
             qPrintable(update));

    UseLanguage(kAsWritten);
    Window asWritten;
    QVERIFY(asWritten.Wait(asWritten.window->Start()));
    QVERIFY(asWritten.SignIn("wrong"));
    QCOMPARE(asWritten.messages.value(0), QString(kAuthorizationFailed));
  }

  // "Language" in Settings keeps the choice; the start of the next run uses it.
  void settingsKeepTheLanguage() {
    Window w;
    SettingsDialog* dialog = w.window->OpenSettings();
    auto* box = dialog->findChild<QComboBox*>("languageBox");
    QCOMPARE(box->currentText(), QString("As written"));
    box->setCurrentIndex(box->findData("en"));
    dialog->accept();
    QCOMPARE(w.settings->Get(Settings::Key::kLanguage).toString(), QString("en"));
    QVERIFY(w.window->findChild<QLabel*>("statusLine")->text().contains("at the next start"));
    QVERIFY(!UseLanguage("xx"));  // no such translation: none installed
    QVERIFY(UseLanguage(w.settings->Get(Settings::Key::kLanguage).toString()));
    QCOMPARE(QCoreApplication::translate("trotix::gui::SignInPage", "ВХОД"), QString("Sign in"));

    // `--language` rules this run: the dialog says so.
    Window given({{Settings::Key::kLanguage, "en"}});
    auto* note = given.window->OpenSettings()->findChild<QLabel*>("overriddenNote");
    QVERIFY(note && note->text().contains("language"));
  }
};

QTEST_MAIN(WindowLanguageTest)
#include "window_language_test.moc"
