#pragma once
// The Session's ports for the window. The Session calls them on the worker thread; they hand
// everything to the GUI thread, which alone touches widgets.
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>

#include "app/ports.h"

class QWidget;

namespace trotix::gui {

class GuiPorts : public QObject {
  Q_OBJECT
 public:
  // Answers a message box instead of showing one (tests).
  using MessageHook = std::function<void(const QString& text)>;
  // Receives what would go to the browser (tests).
  using BrowserHook = std::function<void(const QString& urlOrPath)>;
  // Answers a question box instead of showing one (tests): one of `buttons`.
  using QuestionHook = std::function<QMessageBox::StandardButton(
      const QString& text, QMessageBox::StandardButtons buttons)>;
  // Answers a file dialog instead of showing one (tests): the path chosen, empty for Cancel.
  // `suggested` is the path the dialog would start at.
  using FileDialogHook = std::function<QString(const QString& suggested)>;
  // Worker thread: a race of a long run is done; `ws` is valid during the call only. False when
  // the window did not show it (a Cancel came first).
  using StepHandler = std::function<bool(const Workspace& ws, const RaceStep& race)>;

  explicit GuiPorts(QObject* parent = nullptr);
  ~GuiPorts() override;

  void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }
  void SetMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
  void SetBrowserHook(BrowserHook hook) { browserHook_ = std::move(hook); }
  void SetQuestionHook(QuestionHook hook) { questionHook_ = std::move(hook); }
  void SetFileDialogHook(FileDialogHook hook) { fileDialogHook_ = std::move(hook); }
  // Set before the first command runs.
  void SetStepHandler(StepHandler handler) { stepHandler_ = std::move(handler); }

  Messages& messages();
  Browser& browser();
  Progress& progress();
  Clock& clock();

  // Any thread: ends the running command's requests at once, without waiting for its thread.
  void RequestCancel() { stop_.Cancel(); }
  void ResetCancel() { stop_.Reset(); }
  bool cancelRequested() const { return stop_.cancelled(); }

  // GUI thread: a modal box with one OK button, or the hook.
  void ShowMessage(const QString& text, const QString& detail = {});
  // GUI thread: the platform's "open" verb, or the hook.
  void OpenInBrowser(const QString& urlOrPath);
  // GUI thread: a modal question with `buttons`, or the hook. Closing the box answers
  // `escape`. `captions` names buttons in the question's own words ("Pack now" for Yes).
  QMessageBox::StandardButton Ask(
      const QString& text, QMessageBox::StandardButtons buttons, QMessageBox::StandardButton escape,
      const std::map<QMessageBox::StandardButton, QString>& captions = {});
  // GUI thread: a "save as" dialog for a file like `suggested` (a `filter` such as
  // "HTML (*.html)"), or the hook. Empty when cancelled.
  QString AskSavePath(const QString& suggested, const QString& filter);
  // GUI thread: a folder chooser starting at `suggested`, or the hook. Empty when cancelled.
  QString AskFolder(const QString& suggested);

 signals:
  void panelShown(bool visible);
  void gaugeSet(int gauge, int value, int maximum);
  void gaugeShown(int gauge, bool visible);
  void captionSet(const QString& text);
  // A message box (or its hook) opens, and closes.
  void messageShown(bool shown);

 private:
  class MessagesPort;
  class BrowserPort;
  class ProgressPort;

  QPointer<QWidget> dialogParent_;
  MessageHook messageHook_;
  BrowserHook browserHook_;
  QuestionHook questionHook_;
  FileDialogHook fileDialogHook_;
  StepHandler stepHandler_;
  StopSignal stop_;
  std::unique_ptr<MessagesPort> messages_;
  std::unique_ptr<BrowserPort> browser_;
  std::unique_ptr<ProgressPort> progress_;
  std::unique_ptr<Clock> clock_;
};

}  // namespace trotix::gui
