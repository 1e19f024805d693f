#pragma once
// What the window keeps between runs: the servers, the connection cap, the data folder, the
// moves' auto-refresh, the Proof page's commission, and how the user left the window. A run's
// command line and TROTIX_... variables win over what is kept, for that run only.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <map>
#include <memory>
#include <utility>

#include "app/session.h"

class QSettings;

namespace trotix::gui {

class Settings {
 public:
  enum class Key {
    kDataServer,
    kWebSite,
    kExchangeSite,
    kExchangeWeb,
    kVideoHost,
    kMaxConnections,
    kDataFolder,
    kAutoRefreshMinutes,  // 0: off
    kGeometry,
    kPage,  // caption of the page in front
    kFromRealOdds,
    kResultsDate,
    kDeadlineSeconds,         // 0: none
    kProofCommissionPercent,  // on net winnings at the price when picked
    kKeepAnswers,             // record each signed-in day's answers into the archive
    kRaceTimesZone,           // "UTC+3": the zone of the vendor's race times
    kLanguage,                // the window's captions: "" as written, "en" English
    kCount
  };
  // Values a run was given on its command line.
  using RunValues = std::map<Key, QString>;

  // The user's own settings, where the platform keeps them.
  Settings();
  // Settings in the INI file `path` (tests, --settings).
  explicit Settings(const QString& path);
  ~Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  // The kept value, or the default.
  QVariant Get(Key key) const;
  void Set(Key key, const QVariant& value);
  // What a run uses: the command line's value, else the key's TROTIX_... variable, else the
  // kept value, else the default.
  QVariant ForRun(Key key, const RunValues& commandLine) const;
  // Whether the command line or a variable decides `key` for this run.
  static bool Overridden(Key key, const RunValues& commandLine);
  // The variable that overrides `key`; empty for none.
  static QString Variable(Key key);
  static QVariant Default(Key key);

  // Nothing is written from now on (screenshots leave the user's settings alone).
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  QString FileName() const;

 private:
  std::unique_ptr<QSettings> store_;
  bool readOnly_ = false;
};

// The host of `Hosts` each host key stands for.
inline constexpr std::pair<Settings::Key, std::string Hosts::*> kHostKeys[] = {
    {Settings::Key::kDataServer, &Hosts::dataServer},
    {Settings::Key::kWebSite, &Hosts::webSite},
    {Settings::Key::kExchangeSite, &Hosts::exchangeSite},
    {Settings::Key::kExchangeWeb, &Hosts::exchangeWeb},
    {Settings::Key::kVideoHost, &Hosts::videoHost},
};

// A number setting (connections, deadline, refresh, commission) as `ForRun` gives it, within
// the limits both front ends apply (options/settings_rules.h); a kept value beyond them is
// brought within and `notes` says so.
double CheckedNumber(const Settings& settings, Settings::Key key,
                     const Settings::RunValues& commandLine = {}, QStringList* notes = nullptr);

// The Session's options for a run: the hosts, the connection cap, the deadline and the data
// folder as `ForRun` gives them, the folder created (owner-only) when missing. `notes` gets what
// the user should know: a number setting brought within its limits, a folder that cannot be
// made, a tx.log in the current folder that is ignored.
SessionOptions RunSessionOptions(const Settings& settings, const Settings::RunValues& commandLine,
                                 QStringList* notes = nullptr);

}  // namespace trotix::gui
