#include "gui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/language.h"
#include "gui/qt_ports.h"
#include "options/settings_rules.h"

namespace trotix::gui {
namespace {

using Key = Settings::Key;

struct Field {
  Key key;
  const char* name;
  const char* label;
};

constexpr Field kHostFields[] = {
    {Key::kDataServer, "dataServerEdit",
     QT_TRANSLATE_NOOP("trotix::gui::SettingsDialog", "Data server:")},
    {Key::kWebSite, "webSiteEdit", QT_TRANSLATE_NOOP("trotix::gui::SettingsDialog", "Web site:")},
    {Key::kExchangeSite, "exchangeSiteEdit",
     QT_TRANSLATE_NOOP("trotix::gui::SettingsDialog", "Exchange runner pages:")},
    {Key::kExchangeWeb, "exchangeWebEdit",
     QT_TRANSLATE_NOOP("trotix::gui::SettingsDialog", "Exchange market pages:")},
    {Key::kVideoHost, "videoHostEdit",
     QT_TRANSLATE_NOOP("trotix::gui::SettingsDialog", "Video player:")},
};

// A box that offers exactly what the rule allows (the commission: below 100 % by a tenth).
void Limit(QSpinBox* box, RunSetting setting) {
  const SettingRule& r = RuleOf(setting);
  box->setRange(static_cast<int>(r.low), static_cast<int>(r.top));
}

// Hosts are kept as scheme and host, without the slash the addresses add themselves.
QString HostText(QString text) {
  text = text.trimmed();
  while (text.endsWith('/')) text.chop(1);
  return text;
}

}  // namespace

SettingsDialog::SettingsDialog(Settings& settings, const Settings::RunValues& commandLine,
                               GuiPorts& ports, QWidget* parent)
    : QDialog(parent), settings_(settings), commandLine_(commandLine), ports_(ports) {
  setObjectName("settingsDialog");
  setWindowTitle(tr("Trotix settings"));
  auto* l = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  QStringList overridden;
  for (const Field& f : kHostFields) {
    auto* edit = new QLineEdit(settings.ForRun(f.key, commandLine).toString());
    edit->setObjectName(f.name);
    edit->setPlaceholderText(Settings::Default(f.key).toString());
    edit->setMinimumWidth(320);
    form->addRow(tr(f.label), edit);
    hosts_[f.key] = edit;
    NoteOverride(edit, f.key, edit->text());
    if (Settings::Overridden(f.key, commandLine)) overridden << tr(f.label).chopped(1).toLower();
  }
  maxConnections_ = new QSpinBox;
  maxConnections_->setObjectName("maxConnectionsBox");
  Limit(maxConnections_, RunSetting::kMaxConnections);
  maxConnections_->setValue(
      static_cast<int>(CheckedNumber(settings, Key::kMaxConnections, commandLine)));
  maxConnections_->setToolTip(tr("Requests at once; 1 makes them one after another"));
  NoteOverride(maxConnections_, Key::kMaxConnections, maxConnections_->value());
  form->addRow(tr("Connections at once:"), maxConnections_);
  if (Settings::Overridden(Key::kMaxConnections, commandLine)) overridden << tr("connections");

  folder_ = new QLineEdit(settings.ForRun(Key::kDataFolder, commandLine).toString());
  folder_->setObjectName("dataFolderEdit");
  folder_->setPlaceholderText(Settings::Default(Key::kDataFolder).toString());
  auto* browse = new QPushButton(tr("Browse…"));
  browse->setObjectName("browseFolderButton");
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, [this, &ports] {
    if (const QString chosen = ports.AskFolder(folder_->text()); !chosen.isEmpty())
      folder_->setText(chosen);
  });
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(folder_, 1);
  folderRow->addWidget(browse);
  form->addRow(tr("Data folder:"), folderRow);
  NoteOverride(folder_, Key::kDataFolder, folder_->text());
  if (Settings::Overridden(Key::kDataFolder, commandLine)) overridden << tr("data folder");

  autoRefresh_ = new QSpinBox;
  autoRefresh_->setObjectName("autoRefreshBox");
  Limit(autoRefresh_, RunSetting::kRefreshMinutes);
  autoRefresh_->setSuffix(tr(" min"));
  autoRefresh_->setSpecialValueText(tr("Off"));
  autoRefresh_->setValue(static_cast<int>(CheckedNumber(settings, Key::kAutoRefreshMinutes)));
  autoRefresh_->setToolTip(tr("Reload the market moves of \"Scalp Odds\" this often"));
  form->addRow(tr("Refresh moves every:"), autoRefresh_);

  commission_ = new QDoubleSpinBox;
  commission_->setObjectName("commissionBox");
  commission_->setRange(RuleOf(RunSetting::kCommissionPercent).low,
                        RuleOf(RunSetting::kCommissionPercent).top);
  commission_->setDecimals(1);
  commission_->setSuffix(" %");
  commission_->setValue(CheckedNumber(settings, Key::kProofCommissionPercent));
  commission_->setToolTip(
      tr("Taken from net winnings in the Proof page's profit at the price when picked"));
  form->addRow(tr("Commission on winnings:"), commission_);

  raceTimes_ = new QComboBox;
  raceTimes_->setObjectName("raceTimesBox");
  for (int hours = -12; hours <= 14; ++hours) {
    const QString zone = QString::fromStdString(OffsetText(hours * 60));
    raceTimes_->addItem(hours * 60 == kMoscowOffsetMinutes ? zone + tr(" (Moscow)") : zone, zone);
  }
  const int zone = raceTimes_->findData(settings.Get(Key::kRaceTimesZone).toString());
  raceTimes_->setCurrentIndex(zone >= 0 ? zone : raceTimes_->findData("UTC+3"));
  raceTimes_->setToolTip(
      tr("The zone of the vendor's race times: a pick made at or after its race's off is late "
         "and kept out of the Proof page's figures"));
  form->addRow(tr("Race times are in:"), raceTimes_);

  deadline_ = new QSpinBox;
  deadline_->setObjectName("deadlineBox");
  Limit(deadline_, RunSetting::kDeadlineSeconds);
  deadline_->setSuffix(tr(" s"));
  deadline_->setSpecialValueText(tr("None"));
  deadline_->setValue(
      static_cast<int>(CheckedNumber(settings, Key::kDeadlineSeconds, commandLine)));
  deadline_->setToolTip(
      tr("How long one command, or one race of a long run, may wait on the servers"));
  NoteOverride(deadline_, Key::kDeadlineSeconds, deadline_->value());
  form->addRow(tr("Give up a command after:"), deadline_);
  if (Settings::Overridden(Key::kDeadlineSeconds, commandLine)) overridden << tr("deadline");

  keepAnswers_ = new QCheckBox(tr("Keep each day's answers in the archive"));
  keepAnswers_->setObjectName("keepAnswersSetting");
  keepAnswers_->setChecked(settings.Get(Key::kKeepAnswers).toBool());
  keepAnswers_->setToolTip(tr("A kept day can be replayed offline; the picks are kept either way"));
  form->addRow(tr("Archive:"), keepAnswers_);

  language_ = new QComboBox;
  language_->setObjectName("languageBox");
  for (const auto& [code, caption] : LanguageChoices()) language_->addItem(caption, code);
  language_->setCurrentIndex(
      std::max(0, language_->findData(settings.ForRun(Key::kLanguage, commandLine))));
  language_->setToolTip(tr("The window's captions; a change shows at the next start"));
  NoteOverride(language_, Key::kLanguage, language_->currentData());
  form->addRow(tr("Language:"), language_);
  if (Settings::Overridden(Key::kLanguage, commandLine)) overridden << tr("language");
  l->addLayout(form);

  if (!overridden.isEmpty()) {
    auto* note = new QLabel(
        tr("For this run the command line or a TROTIX_… variable sets the %1: the fields show "
           "the values in force. A value changed here is kept for the next runs.")
            .arg(overridden.join(", ")));
    note->setObjectName("overriddenNote");
    note->setWordWrap(true);
    l->addWidget(note);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName("settingsButtons");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  l->addWidget(buttons);
}

void SettingsDialog::NoteOverride(QWidget* field, Key key, const QVariant& shown) {
  if (!Settings::Overridden(key, commandLine_)) return;
  inForce_[key] = shown;
  field->setToolTip(tr("Set for this run by the command line or a TROTIX_… variable; kept: %1")
                        .arg(settings_.Get(key).toString()));
  // Bold, as a value that is not the kept one.
  QFont font = field->font();
  font.setBold(true);
  field->setFont(font);
}

bool SettingsDialog::LeftAsInForce(Key key, const QVariant& shown) const {
  const auto given = inForce_.find(key);
  return given != inForce_.end() && given->second == shown;
}

void SettingsDialog::ShowArchive(long long bytes, std::function<void()> backUp,
                                 std::function<bool()> pack) {
  const bool workLeft = static_cast<bool>(pack);
  auto* row = new QHBoxLayout;
  archiveSize_ = new QLabel;
  archiveSize_->setObjectName("archiveSizeLabel");
  auto* button = new QPushButton(tr("Back up…"));
  button->setObjectName("backUpArchiveButton");
  button->setAutoDefault(false);
  button->setToolTip(tr("Copy the archive to a file of your choice while Trotix goes on"));
  connect(button, &QPushButton::clicked, this, std::move(backUp));
  pack_ = new QPushButton;
  pack_->setObjectName("packArchiveButton");
  pack_->setAutoDefault(false);
  pack_->setToolTip(
      tr("Pack the pages an older release stored as they came; Stop keeps what is "
         "done for the next \"Pack now\""));
  connect(pack_, &QPushButton::clicked, this, [this, pack = std::move(pack)] {
    if (packing_) {
      ports_.RequestCancel();
      pack_->setEnabled(false);
    } else if (pack && pack()) {
      ShowArchivePacking();
    }
  });
  // The window's panel is behind this dialog: the row shows how far the packing is.
  connect(&ports_, &GuiPorts::captionSet, this, [this](const QString& text) {
    if (packing_) archiveSize_->setText(text);
  });
  row->addWidget(archiveSize_, 1);
  row->addWidget(pack_);
  row->addWidget(button);
  // Below the settings, above the note and the buttons.
  static_cast<QVBoxLayout*>(layout())->insertLayout(1, row);
  ShowArchivePacked(bytes, workLeft);
}

void SettingsDialog::ShowArchivePacking() {
  packing_ = true;
  pack_->setText(tr("Stop"));
  pack_->setEnabled(true);
  pack_->show();
}

void SettingsDialog::ShowArchivePacked(long long bytes, bool workLeft) {
  if (!archiveSize_) return;
  packing_ = false;
  archiveSize_->setText(tr("Archive file: %1 MB").arg(bytes / 1e6, 0, 'f', 1));
  pack_->setText(tr("Pack now"));
  pack_->setEnabled(true);
  pack_->setVisible(workLeft);
}

void SettingsDialog::accept() {
  for (const auto& [key, edit] : hosts_) {
    if (LeftAsInForce(key, edit->text())) continue;
    const QString host = HostText(edit->text());
    settings_.Set(key, host.isEmpty() ? Settings::Default(key) : host);
  }
  if (!LeftAsInForce(Key::kMaxConnections, maxConnections_->value()))
    settings_.Set(Key::kMaxConnections, maxConnections_->value());
  const QString folder = folder_->text().trimmed();
  if (!LeftAsInForce(Key::kDataFolder, folder_->text()))
    settings_.Set(Key::kDataFolder,
                  folder.isEmpty() ? Settings::Default(Key::kDataFolder) : folder);
  settings_.Set(Key::kAutoRefreshMinutes, autoRefresh_->value());
  settings_.Set(Key::kProofCommissionPercent, commission_->value());
  settings_.Set(Key::kRaceTimesZone, raceTimes_->currentData().toString());
  if (!LeftAsInForce(Key::kDeadlineSeconds, deadline_->value()))
    settings_.Set(Key::kDeadlineSeconds, deadline_->value());
  settings_.Set(Key::kKeepAnswers, keepAnswers_->isChecked());
  if (!LeftAsInForce(Key::kLanguage, language_->currentData()))
    settings_.Set(Key::kLanguage, language_->currentData().toString());
  QDialog::accept();
}

}  // namespace trotix::gui
