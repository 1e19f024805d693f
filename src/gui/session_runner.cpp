#include "session_runner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <exception>

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
        Session& s = *session_;
        running_ = number;
        try {
          command(s);
        } catch (const std::exception& e) {
          // The command ends here, as an uncaught error ends an event handler.
          errors_.Show(e.what());
        }
        auto snap = std::make_shared<Snapshot>();
        snap->ws = s.ws().view();
        snap->view = s.view();
        snap->closeRequested = s.closeRequested();
        snap->proof = s.proof();
        snap->command = number;
        QMetaObject::invokeMethod(
            this, [this, snap = std::shared_ptr<const Snapshot>(std::move(snap))] { Finish(snap); },
            Qt::QueuedConnection);
      },
      Qt::QueuedConnection);
  return number;
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
