#include "session_runner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <exception>

#include "app/error_text.h"

namespace trotix::gui {

SessionRunner::SessionRunner(std::unique_ptr<Session> session, std::shared_ptr<void> keepAlive,
                             Messages& errors, int firstCommand, QObject* parent)
    : QObject(parent),
      keepAlive_(std::move(keepAlive)),
      errors_(errors),
      session_(std::move(session)),
      worker_(new QObject),
      nextCommand_(firstCommand) {
  qRegisterMetaType<std::shared_ptr<const Snapshot>>();
  thread_.setObjectName("trotix-worker");
  worker_->moveToThread(&thread_);
  connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
  auto first = std::make_shared<Snapshot>();
  first->ws = session_->ws().view();
  first->view = session_->view();
  first->proof = session_->proof();
  first->systems = session_->systemsReport();
  last_ = std::move(first);
  thread_.start();
}

SessionRunner::~SessionRunner() {
  thread_.quit();
  thread_.wait();
}

void SessionRunner::Shutdown(QObject* served) {
  stopping_ = true;
  thread_.quit();
  while (!thread_.wait(QDeadlineTimer(20))) {
    QCoreApplication::sendPostedEvents(served, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  }
}

bool SessionRunner::Step(const Workspace& ws, const RaceStep& race,
                         const std::function<bool()>& declined) {
  auto snap = std::make_shared<Snapshot>();
  snap->ws = ws.view();
  snap->view = session_->view();
  snap->command = running_;
  snap->step = true;
  snap->race = race;
  bool shown = false;
  QMetaObject::invokeMethod(
      this,
      [this, &shown, &declined, snap = std::shared_ptr<const Snapshot>(std::move(snap))] {
        // Decided here, on the thread of the Cancel button, so no race shows after the click.
        if (stopping_ || (declined && declined())) return;
        shown = true;
        emit stepped(snap);
      },
      Qt::BlockingQueuedConnection);
  return shown;
}

int SessionRunner::Post(Command command) {
  if (busy_) return 0;
  busy_ = true;
  const int number = nextCommand_++;
  emit busyChanged(true);
  QMetaObject::invokeMethod(
      worker_,
      [this, number, command = std::move(command)] {
        running_ = number;
        try {
          command(*session_);
        } catch (...) {
          // The command ends here, whatever it threw, as an uncaught error ends an event handler;
          // the archive has rolled back what it gathered.
          errors_.Show(CurrentErrorText());
        }
        // The command may have put another Session in place.
        const Session& s = *session_;
        auto snap = std::make_shared<Snapshot>();
        snap->ws = s.ws().view();
        snap->view = s.view();
        snap->closeRequested = s.closeRequested();
        snap->proof = s.proof();
        snap->systems = s.systemsReport();
        snap->command = number;
        if (afterCommand_) afterCommand_(*snap);
        QMetaObject::invokeMethod(
            this, [this, snap = std::shared_ptr<const Snapshot>(std::move(snap))] { Finish(snap); },
            Qt::QueuedConnection);
      },
      Qt::QueuedConnection);
  return number;
}

int SessionRunner::PostReplacing(std::function<std::optional<Replacement>()> make, Command then,
                                 Command otherwise) {
  return Post([this, make = std::move(make), then = std::move(then),
               otherwise = std::move(otherwise)](Session& current) {
    std::optional<Replacement> next = make();
    if (!next) {
      if (otherwise) otherwise(current);
      return;
    }
    // The old Session first, then what it relied on.
    session_ = std::move(next->session);
    keepAlive_ = std::move(next->keepAlive);
    then(*session_);
  });
}

void SessionRunner::Finish(std::shared_ptr<const Snapshot> snapshot) {
  if (stopping_) return;
  last_ = snapshot;
  busy_ = false;
  // Idle first, so a slot of `finished` may post the next command.
  emit busyChanged(false);
  emit finished(std::move(snapshot));
}

}  // namespace trotix::gui
