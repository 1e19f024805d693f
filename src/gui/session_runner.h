#pragma once
// Runs Session commands on one worker thread, one at a time. The GUI thread posts a command and
// gets a copy of the Workspace back when it ends; the worker never touches a widget.
#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/session.h"

namespace trotix::gui {

// What the window shows after a command: a copy of the tables, labels and controls.
struct Snapshot {
  WorkspaceView ws;
  ViewState view;
  bool closeRequested = false;
  int command = 0;    // the number Post gave the command
  bool step = false;  // a step of a command still running (a race of a best-of run)
  RaceStep race;      // that race, for a step
  std::shared_ptr<const ProofReport> proof;      // the Proof page's figures, shared, never copied
  std::shared_ptr<const SystemsReport> systems;  // the Systems page's, likewise
  // The archive's stored days, read on the worker after the command; none without an archive
  // or when it could not be read.
  std::optional<std::vector<Date>> storedDays;
};

class SessionRunner : public QObject {
  Q_OBJECT
 public:
  using Command = std::function<void(Session&)>;

  // Takes the Session and whatever it keeps references to (HTTP clients and the like). An error
  // that ends a command is shown through `errors`. Commands are numbered from `firstCommand`, so
  // a runner that takes over from another goes on counting.
  SessionRunner(std::unique_ptr<Session> session, std::shared_ptr<void> keepAlive, Messages& errors,
                int firstCommand = 1, QObject* parent = nullptr);
  ~SessionRunner() override;

  bool busy() const { return busy_; }
  int nextCommand() const { return nextCommand_; }
  // Starts a command; refused (0) while another one runs. Returns the command's number.
  int Post(Command command);
  // A Session to take over, with what it keeps references to.
  struct Replacement {
    std::unique_ptr<Session> session;
    std::shared_ptr<void> keepAlive;
  };
  // A command that first makes the Session that takes over (`make`, on the worker, may read the
  // disk) and then runs `then` on it. The Session it replaces is destroyed on the worker too, so
  // the GUI thread waits for neither. When `make` gives none, the Session stays and `otherwise`
  // runs on it instead.
  int PostReplacing(std::function<std::optional<Replacement>()> make, Command then,
                    Command otherwise = {});
  // Runs on the worker after every command, before its snapshot goes to the window (what the
  // window shows besides the Session: the archive's stored days). Set before the first Post.
  void SetAfterCommand(std::function<void(Snapshot&)> fill) { afterCommand_ = std::move(fill); }
  // The Workspace as the last finished command left it.
  const std::shared_ptr<const Snapshot>& last() const { return last_; }

  // Worker thread, inside a command: hands a copy of `ws` to `stepped` and waits until the
  // window has shown it, so a click in between (Cancel) is seen before the next step. Unless
  // `declined()`, asked on the GUI thread, says a Cancel came first: then nothing is shown and
  // the result is false.
  bool Step(const Workspace& ws, const RaceStep& race, const std::function<bool()>& declined);
  // Ends the worker, serving the blocking calls it makes to `served` (and to this runner) until
  // its command ends, so a window can be destroyed while a command runs.
  void Shutdown(QObject* served);

 signals:
  void busyChanged(bool busy);
  void finished(std::shared_ptr<const trotix::gui::Snapshot> snapshot);
  void stepped(std::shared_ptr<const trotix::gui::Snapshot> snapshot);

 private:
  void Finish(std::shared_ptr<const Snapshot> snapshot);

  std::shared_ptr<void> keepAlive_;
  Messages& errors_;
  std::unique_ptr<Session> session_;
  QThread thread_;
  QObject* worker_;  // lives on thread_; commands run in its context
  bool busy_ = false;
  bool stopping_ = false;
  int nextCommand_ = 1;
  int running_ = 0;  // worker thread: the command inside Post's lambda
  std::shared_ptr<const Snapshot> last_;
  std::function<void(Snapshot&)> afterCommand_;
};

}  // namespace trotix::gui

Q_DECLARE_METATYPE(std::shared_ptr<const trotix::gui::Snapshot>)
