#include "gui/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <limits>

#include "app/remember_me.h"
#include "gui/display_text.h"
#include "options/host_options.h"
#include "options/settings_rules.h"
#include "report/save_file.h"

namespace trotix::gui {
namespace {

using Key = Settings::Key;

struct Entry {
  const char* name;  // in the settings file
  QVariant fallback;
  const char* variable;  // nullptr: none
};

// The kept name and default of a host, with the variable both front ends read for it.
Entry HostEntry(const char* name, std::string Hosts::*member) {
  const char* variable = nullptr;
  for (const HostOption& o : kHostOptions)
    if (o.member == member) variable = o.variable;
  return {name, Display(Hosts{}.*member), variable};
}

const Entry& EntryOf(Key key) {
  static const std::array<Entry, static_cast<int>(Key::kCount)> kEntries = {{
      HostEntry("servers/dataServer", &Hosts::dataServer),
      HostEntry("servers/webSite", &Hosts::webSite),
      HostEntry("servers/exchangeSite", &Hosts::exchangeSite),
      HostEntry("servers/exchangeWeb", &Hosts::exchangeWeb),
      HostEntry("servers/videoHost", &Hosts::videoHost),
      {"servers/maxConnections", 8, nullptr},
      {"files/dataFolder", QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
       nullptr},
      {"moves/autoRefreshMinutes", 0, nullptr},
      {"window/geometry", QByteArray(), nullptr},
      {"window/page", QString(), nullptr},
      {"report/fromRealOdds", true, nullptr},
      {"results/date", QString(), nullptr},
      {"servers/deadlineSeconds", 300, nullptr},
      {"proof/commissionPercent", 5.0, nullptr},
      {"archive/keepAnswers", true, nullptr},
      {"proof/raceTimesZone", "UTC+3", nullptr},
      {"window/language", QString(), nullptr},
  }};
  return kEntries[static_cast<int>(key)];
}

RunSetting RuleKey(Key key) {
  switch (key) {
    case Key::kProofCommissionPercent:
      return RunSetting::kCommissionPercent;
    case Key::kDeadlineSeconds:
      return RunSetting::kDeadlineSeconds;
    case Key::kAutoRefreshMinutes:
      return RunSetting::kRefreshMinutes;
    default:
      break;
  }
  return RunSetting::kMaxConnections;
}

}  // namespace

Settings::Settings() : store_(std::make_unique<QSettings>("trotix", "trotix")) {}

Settings::Settings(const QString& path)
    : store_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

Settings::~Settings() = default;

QVariant Settings::Get(Key key) const {
  const Entry& e = EntryOf(key);
  return store_->value(e.name, e.fallback);
}

void Settings::Set(Key key, const QVariant& value) {
  if (readOnly_) return;
  store_->setValue(EntryOf(key).name, value);
  store_->sync();
}

QVariant Settings::ForRun(Key key, const RunValues& commandLine) const {
  if (const auto given = commandLine.find(key); given != commandLine.end()) return given->second;
  // An empty variable counts as none, as the command line's parser takes it.
  if (const QString v = Variable(key);
      !v.isEmpty() && !qEnvironmentVariable(qPrintable(v)).isEmpty())
    return qEnvironmentVariable(qPrintable(v));
  return Get(key);
}

bool Settings::Overridden(Key key, const RunValues& commandLine) {
  const QString v = Variable(key);
  return commandLine.count(key) > 0 ||
         (!v.isEmpty() && !qEnvironmentVariable(qPrintable(v)).isEmpty());
}

QString Settings::Variable(Key key) {
  const char* v = EntryOf(key).variable;
  return v ? QString::fromLatin1(v) : QString();
}

QVariant Settings::Default(Key key) {
  return EntryOf(key).fallback;
}

QString Settings::FileName() const {
  return store_->fileName();
}

double CheckedNumber(const Settings& settings, Key key, const Settings::RunValues& commandLine,
                     QStringList* notes) {
  bool number = false;
  const double fallback = Settings::Default(key).toDouble();
  double value = settings.ForRun(key, commandLine).toDouble(&number);
  if (!number) value = std::numeric_limits<double>::quiet_NaN();
  const ClampedSetting checked = ClampSetting(RuleKey(key), value, fallback);
  if (notes && !checked.note.empty()) *notes << Display(checked.note);
  return checked.value;
}

SessionOptions RunSessionOptions(const Settings& settings, const Settings::RunValues& commandLine,
                                 QStringList* notes) {
  SessionOptions o;
  QStringList said;
  for (const auto& [key, member] : kHostKeys)
    o.hosts.*member = Input(settings.ForRun(key, commandLine).toString().trimmed());
  o.maxConnections =
      static_cast<int>(CheckedNumber(settings, Key::kMaxConnections, commandLine, &said));
  o.deadline = std::chrono::seconds(
      static_cast<int>(CheckedNumber(settings, Key::kDeadlineSeconds, commandLine, &said)));
  o.raceTimesOffset =
      ParseOffsetText(Input(settings.ForRun(Key::kRaceTimesZone, commandLine).toString().trimmed()))
          .value_or(kMoscowOffsetMinutes);
  QString folder = settings.ForRun(Key::kDataFolder, commandLine).toString().trimmed();
  if (folder.isEmpty()) folder = Settings::Default(Key::kDataFolder).toString();
  folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  o.folder = std::filesystem::path(Input(folder));
  if (const std::string error = MakeFolder(o.folder); !error.empty()) said << Display(error);
  // An older run kept the remembered sign-in in the folder it was started from; it is not read
  // behind the user's back.
  const QString stray = QDir::current().filePath(kRememberMeFile);
  if (QDir::current() != QDir(folder) && QFileInfo(stray).isFile() &&
      !QFileInfo::exists(QDir(folder).filePath(kRememberMeFile)))
    said << QCoreApplication::translate("Settings", "%1 ignored: Trotix keeps its files in %2")
                .arg(stray, folder);
  if (notes) *notes << said;
  return o;
}

}  // namespace trotix::gui
