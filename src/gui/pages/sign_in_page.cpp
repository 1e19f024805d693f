#include "gui/pages/sign_in_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/display_text.h"
#include "gui/pages/page_parts.h"
#include "gui/pictures.h"

namespace trotix::gui {
namespace {

// A white caption on the dark panels, set before the box joins its panel. The tick keeps the
// style's own colour: a style sheet's "color" paints it white on a white box, so a ticked box
// looked disabled.
void WhiteCaption(QCheckBox* box) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  box->setPalette(palette);
}

}  // namespace

SignInPage::SignInPage(const std::string& webSite, QWidget* parent) : QWidget(parent) {
  setObjectName("signInPage");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* background = background_ = new QLabel;
  background->setObjectName("aboutBackground");
  background->setScaledContents(true);
  background->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  background->installEventFilter(this);
  grid->addWidget(background, 0, 0);
  auto* over = new QGridLayout(background);
  over->setContentsMargins(0, 0, 30, 24);

  // Text rather than pixels of the picture, so it stays sharp and can be read out or translated.
  auto* title = new QLabel("TROTIX");
  title->setObjectName("aboutTitle");
  QFont titleFont = title->font();
  titleFont.setPixelSize(54);
  titleFont.setBold(true);
  titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 6);
  title->setFont(titleFont);
  title->setStyleSheet("color: rgba(255, 255, 255, 230);");
  auto* tagline = new QLabel("Race-day analysis for exchange bettors");
  tagline->setObjectName("aboutTagline");
  QFont taglineFont = tagline->font();
  taglineFont.setPixelSize(15);
  tagline->setFont(taglineFont);
  tagline->setStyleSheet("color: #dcf0dc;");
  tagline->setContentsMargins(4, 0, 0, 0);
  auto* heading = new QVBoxLayout;
  heading->setContentsMargins(40, 38, 0, 0);
  heading->setSpacing(2);
  heading->addWidget(title);
  heading->addWidget(tagline);
  over->addLayout(heading, 0, 0, Qt::AlignLeft | Qt::AlignTop);

  auto* panel = new QFrame;
  panel->setObjectName("signInPanel");
  panel->setFixedSize(330, 230);
  panel->setStyleSheet(
      "#signInPanel { background: rgba(0, 0, 0, 120); border-radius: 8px; }"
      "#signInPanel QLabel { color: white; }");
  auto* form = new QGridLayout(panel);
  form->setContentsMargins(18, 16, 18, 12);
  form->setVerticalSpacing(8);
  form->addWidget(MakeLabel("loginLabel", "LOGIN:"), 0, 0);
  login_ = new QLineEdit;
  login_->setObjectName("loginEdit");
  form->addWidget(login_, 0, 1);
  form->addWidget(MakeLabel("passwordLabel", "PASSWORD:"), 1, 0);
  password_ = new QLineEdit;
  password_->setObjectName("passwordEdit");
  password_->setEchoMode(QLineEdit::Password);
  form->addWidget(password_, 1, 1);
  rememberMe_ = new QCheckBox("Remember me");
  rememberMe_->setObjectName("rememberMeBox");
  WhiteCaption(rememberMe_);
  form->addWidget(rememberMe_, 2, 1);
  signIn_ = MakeButton("signInButton", "ВХОД");
  signIn_->setFont(Larger(signIn_->font(), 1));
  connect(signIn_, &QPushButton::clicked, this, [this] { emit signInRequested(Form()); });
  connect(password_, &QLineEdit::returnPressed, signIn_, &QPushButton::click);
  auto* settings = MakeButton("settingsButton", "Settings…");
  settings->setToolTip("Servers, data folder, connections");
  connect(settings, &QPushButton::clicked, this, &SignInPage::settingsRequested);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(signIn_, 1);
  buttons->addWidget(settings);
  form->addLayout(buttons, 3, 1);
  form->addWidget(MakeLabel("versionLabel", QString("VERSION: ") + kVersion.data()), 4, 0, 1, 2);
  siteLink_ = MakeLabel("siteLink");
  siteLink_->setTextFormat(Qt::RichText);
  siteLink_->setOpenExternalLinks(false);
  connect(siteLink_, &QLabel::linkActivated, this, &SignInPage::siteLinkActivated);
  SetWebSite(webSite);
  form->addWidget(siteLink_, 5, 0, 1, 2);
  over->addWidget(panel, 0, 0, Qt::AlignRight | Qt::AlignBottom);

  archive_ = new QFrame;
  archive_->setObjectName("archivePanel");
  archive_->setMinimumWidth(330);  // wider when a date needs it
  archive_->setStyleSheet(
      "#archivePanel { background: rgba(0, 0, 0, 120); border-radius: 8px; }"
      "#archivePanel QLabel { color: white; }");
  auto* days = new QGridLayout(archive_);
  days->setContentsMargins(18, 12, 18, 12);
  days->addWidget(MakeLabel("storedDaysLabel", "STORED DAYS:"), 0, 0);
  storedDays_ = new QComboBox;
  storedDays_->setObjectName("storedDaysBox");
  storedDays_->setSizeAdjustPolicy(QComboBox::AdjustToContents);  // the whole date, never cut
  days->addWidget(storedDays_, 0, 1);
  replay_ = MakeButton("replayDayButton", "Replay");
  replay_->setToolTip("Open the stored day offline, as it was seen");
  connect(replay_, &QPushButton::clicked, this, [this] {
    const int i = storedDays_->currentIndex();
    const int count = static_cast<int>(days_.size());
    if (i >= 0 && i < count) emit replayRequested(days_[count - 1 - i]);
  });
  days->addWidget(replay_, 0, 2);
  keepAnswers_ = new QCheckBox("Keep today's answers in the archive");
  keepAnswers_->setObjectName("keepAnswersBox");
  keepAnswers_->setChecked(true);
  WhiteCaption(keepAnswers_);
  days->addWidget(keepAnswers_, 1, 0, 1, 3);
  demoHistory_ = MakeButton("demoHistoryButton", "Build 30 demo days");
  demoHistory_->setToolTip("Past demo days, each signed in, analysed, picked and settled");
  connect(demoHistory_, &QPushButton::clicked, this, [this] { emit demoHistoryRequested(30); });
  days->addWidget(demoHistory_, 2, 0, 1, 3);
  demoHistory_->hide();
  archive_->hide();
  over->addWidget(archive_, 0, 0, Qt::AlignLeft | Qt::AlignBottom);
}

void SignInPage::ShowArchive(bool demo) {
  archive_->show();
  demoHistory_->setVisible(demo);
}

void SignInPage::SetStoredDays(const std::vector<Date>& days) {
  if (days == days_) return;
  days_ = days;
  storedDays_->clear();
  // Newest first: the day most likely wanted.
  for (auto d = days_.rbegin(); d != days_.rend(); ++d)
    storedDays_->addItem(QString::fromStdString(FormatDate(*d)));
  UpdateButton();
}

bool SignInPage::KeepAnswers() const {
  return keepAnswers_->isChecked();
}

void SignInPage::SetKeepAnswers(bool keep) {
  keepAnswers_->setChecked(keep);
}

SignInForm SignInPage::Form() const {
  return {Input(login_->text()), Input(password_->text()), rememberMe_->isChecked()};
}

void SignInPage::Fill(const SignInForm& form) {
  login_->setText(Display(form.login));
  password_->setText(Display(form.password));
  rememberMe_->setChecked(form.rememberMe);
}

void SignInPage::SetWebSite(const std::string& webSite) {
  const QString site = Display(webSite).toHtmlEscaped();
  siteLink_->setText(
      QString("<a href=\"%1\"><span style=\"color:#ffd54f\">%1</span></a>").arg(site));
}

bool SignInPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == background_ && event->type() == QEvent::Resize && !background_->size().isEmpty())
    background_->setPixmap(AboutBackground(background_->size()));
  return QWidget::eventFilter(watched, event);
}

void SignInPage::ShowView(const ViewState& view) {
  fieldsEnabled_ = view.signInEnabled;
  login_->setEnabled(fieldsEnabled_);
  password_->setEnabled(fieldsEnabled_);
  rememberMe_->setEnabled(fieldsEnabled_);
  UpdateButton();
}

void SignInPage::SetIdle(bool idle) {
  idle_ = idle;
  UpdateButton();
}

void SignInPage::UpdateButton() {
  signIn_->setEnabled(idle_ && fieldsEnabled_);
  // A day is opened, or today kept, only before a sign-in.
  replay_->setEnabled(idle_ && fieldsEnabled_ && !days_.empty());
  keepAnswers_->setEnabled(fieldsEnabled_);
  demoHistory_->setEnabled(idle_);
}

}  // namespace trotix::gui
