#include "gui/window_frame.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <utility>

#include "gui/core_texts.h"
#include "gui/display_text.h"
#include "gui/pictures.h"
#include "gui/qt_ports.h"
#include "gui/status_line.h"
#include "gui/tray_icon.h"

namespace trotix::gui {

WindowFrame::WindowFrame(QWidget* window, QTabWidget* pages, GuiPorts& ports)
    : QObject(window), window_(window), pages_(pages), ports_(ports) {
  AddStatusLine();
  AddActions();
  AddShortcuts();
}

void WindowFrame::AddStatusLine() {
  auto* status = new QStatusBar;
  status->setObjectName("statusBar");
  statusLine_ = new StatusLine;
  statusLine_->setObjectName("statusLine");
  status->addWidget(statusLine_, 1);
  openFolder_ = new QToolButton;
  openFolder_->setObjectName("openFolderButton");
  openFolder_->setText(tr("Open folder"));
  openFolder_->setAutoRaise(true);
  openFolder_->hide();
  connect(openFolder_, &QToolButton::clicked, this, [this] { ports_.OpenInBrowser(savedFolder_); });
  status->addPermanentWidget(openFolder_);
  window_->layout()->addWidget(status);
}

void WindowFrame::AddActions() {
  auto* settings = new QAction(SettingsIcon(), tr("Settings…"), window_);
  settings->setObjectName("settingsAction");
  connect(settings, &QAction::triggered, this, &WindowFrame::settingsRequested);
  signOut_ = new QAction(SignOutIcon(), tr("Sign out"), window_);
  signOut_->setObjectName("signOutAction");
  signOut_->setToolTip(tr("Back to the sign-in page; the report stays"));
  connect(signOut_, &QAction::triggered, this, &WindowFrame::signOutRequested);
  auto* quit = new QAction(tr("Quit"), window_);
  quit->setObjectName("quitAction");
  connect(quit, &QAction::triggered, window_, &QWidget::close);

  // In the page bar's corner, in reach on every page; pictures only, so every tab fits.
  auto* corner = new QWidget;
  auto* cl = new QHBoxLayout(corner);
  cl->setContentsMargins(0, 0, 2, 0);
  cl->setSpacing(0);
  for (auto [action, name] :
       {std::pair{settings, "settingsCornerButton"}, std::pair{signOut_, "signOutButton"}}) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setToolTip(action->text().remove(QChar(0x2026)));
    b->setAutoRaise(true);
    cl->addWidget(b);
    if (action == signOut_) signOutButton_ = b;
  }
  pages_->setCornerWidget(corner, Qt::TopRightCorner);

  tray_ = new TrayIcon(window_);
  const auto restore = [this] {
    tray_->HideStill();
    window_->showNormal();
    window_->activateWindow();
  };
  auto* menu = new QMenu(window_);
  menu->setObjectName("trayMenu");
  menu->addAction(tr("Show Trotix"), this, restore);
  menu->addAction(settings);
  menu->addAction(signOut_);
  menu->addSeparator();
  menu->addAction(quit);
  tray_->setContextMenu(menu);
  connect(tray_, &TrayIcon::restoreRequested, this, restore);
}

void WindowFrame::AddShortcuts() {
  const auto add = [this](const QKeySequence& keys, auto slot) {
    connect(new QShortcut(keys, window_), &QShortcut::activated, this, slot);
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { StepPage(1); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { StepPage(-1); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] { StepPage(-1); });
  for (int n = 1; n <= 8; ++n)
    add(QKeySequence(Qt::CTRL | (Qt::Key_0 + n)), [this, n] { SelectVisiblePage(n); });
  add(QKeySequence::Save, [this] { emit saveRequested(); });
}

void WindowFrame::StepPage(int step) {
  const int count = pages_->count();
  for (int i = 1; i < count; ++i) {
    const int page = ((pages_->currentIndex() + step * i) % count + count) % count;
    if (pages_->isTabVisible(page)) {
      pages_->setCurrentIndex(page);
      return;
    }
  }
}

void WindowFrame::SelectVisiblePage(int n) {
  for (int page = 0; page < pages_->count(); ++page)
    if (pages_->isTabVisible(page) && --n == 0) {
      pages_->setCurrentIndex(page);
      return;
    }
}

void WindowFrame::Say(const QString& text) {
  statusLine_->setText(text);
  statusLine_->setToolTip(text);
  openFolder_->hide();
}

bool WindowFrame::ShowView(const ViewState& view) {
  signOut_->setEnabled(view.signedIn);
  signOutButton_->setVisible(view.signedIn);
  bool said = false;
  for (; notesShown_ < view.notes.size(); ++notesShown_) {
    Say(CoreText(view.notes[notesShown_]));
    said = true;
  }
  if (view.saves != savesShown_ && !view.savedFile.empty()) {
    const QString file = QDir::toNativeSeparators(Display(view.savedFile));
    Say(tr("Saved %1").arg(file));
    savedFolder_ = QFileInfo(file).absolutePath();
    openFolder_->show();
    said = true;
  }
  savesShown_ = view.saves;
  return said;
}

void WindowFrame::ShowTray() {
  tray_->ShowTurning();
}

void WindowFrame::HideTray() {
  tray_->HideStill();
}

}  // namespace trotix::gui
