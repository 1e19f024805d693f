#pragma once
// The frame around the pages: the status line (what was saved where, what went wrong without a
// message box), the settings and sign-out actions in the page bar's corner and in the tray
// icon's menu, and the keys that change pages (Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+1…8).
#include <QObject>
#include <QString>
#include <cstddef>

#include "app/view_state.h"

class QAction;
class QLabel;
class QTabWidget;
class QToolButton;
class QWidget;

namespace trotix::gui {

class GuiPorts;
class StatusLine;
class TrayIcon;

class WindowFrame : public QObject {
  Q_OBJECT
 public:
  // Builds the frame into `window`, whose layout holds `pages`.
  WindowFrame(QWidget* window, QTabWidget* pages, GuiPorts& ports);

  // A line in the status bar; it stays until the next one.
  void Say(const QString& text);
  // The notes and saves the Session reports, and sign out only while signed in. Returns whether
  // the status line said something new.
  bool ShowView(const ViewState& view);
  // Minimised to the tray, or back.
  void ShowTray();
  void HideTray();

 signals:
  void settingsRequested();
  void signOutRequested();
  void saveRequested();  // Ctrl+S

 private:
  void AddStatusLine();
  void AddActions();
  void AddShortcuts();
  // The next visible page `step` away; the `n`-th visible page.
  void StepPage(int step);
  void SelectVisiblePage(int n);

  QWidget* window_;
  QTabWidget* pages_;
  GuiPorts& ports_;
  StatusLine* statusLine_ = nullptr;
  QToolButton* openFolder_ = nullptr;
  QToolButton* signOutButton_ = nullptr;
  QAction* signOut_ = nullptr;
  TrayIcon* tray_ = nullptr;
  QString savedFolder_;
  std::size_t notesShown_ = 0;
  int savesShown_ = 0;
};

}  // namespace trotix::gui
