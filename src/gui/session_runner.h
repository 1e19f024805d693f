#pragma once
// Runs Session commands on one worker thread, one at a time. The GUI thread posts a command and
// gets a copy of the Workspace back when it ends; the worker never touches a widget.
#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

#include "app/session.h"

namespace trotix::gui {

// What the window shows after a command: a copy of the tables and labels.
struct Snapshot {
  Workspace ws;
  bool closeRequested = false;
  int command = 0;  // the number Post gave the command
};

class SessionRunner : public QObject {
  Q_OBJECT
 public:
  using Command = std::function<void(Session&)>;

  // Takes the Session and whatever it keeps references to (HTTP clients and the like). An error
  // that ends a command is shown through `errors`.
  SessionRunner(std::unique_ptr<Session> session, std::shared_ptr<void> keepAlive, Messages& errors,
                QObject* parent = nullptr);
  ~SessionRunner() override;

  bool busy() const { return busy_; }
  // Starts a command; refused (0) while another one runs. Returns the command's number.
  int Post(Command command);
  // The Workspace as the last finished command left it.
  const std::shared_ptr<const Snapshot>& last() const { return last_; }

 signals:
  void busyChanged(bool busy);
  void finished(std::shared_ptr<const trotix::gui::Snapshot> snapshot);

 private:
  void Finish(std::shared_ptr<const Snapshot> snapshot);

  std::shared_ptr<void> keepAlive_;
  Messages& errors_;
  std::unique_ptr<Session> session_;
  QThread thread_;
  QObject* worker_;  // lives on thread_; commands run in its context
  bool busy_ = false;
  int nextCommand_ = 1;
  std::shared_ptr<const Snapshot> last_;
};

}  // namespace trotix::gui

Q_DECLARE_METATYPE(std::shared_ptr<const trotix::gui::Snapshot>)
