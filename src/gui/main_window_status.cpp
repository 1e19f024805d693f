// The status line after each command: what it did, or that it was cancelled, so that no earlier
// line (a saved file, a start-up note) stays as if it were still news.
#include <QRegularExpression>

#include "gui/display_text.h"
#include "gui/main_window.h"
#include "gui/window_frame.h"

namespace trotix::gui {

int MainWindow::RunSaying(std::function<void(Session&)> command, Said said) {
  const int number = Run(std::move(command));
  if (number != 0) saying_[number] = std::move(said);
  return number;
}

MainWindow::Said MainWindow::RaceSaid() {
  return {tr("The analysis"), [](const Snapshot& s) {
            QString course = Display(s.ws.u2);
            course.remove(QRegularExpression("^Course:\\s*"));
            return tr("Race %1 %2").arg(Display(s.ws.u1), course).trimmed();
          }};
}

void MainWindow::SayHowItEnded(const Snapshot& snapshot, bool sessionSaid) {
  const auto said = saying_.find(snapshot.command);
  if (said == saying_.end()) return;
  const Said how = std::move(said->second);
  saying_.erase(said);
  if (sessionSaid) return;  // its own words are the news
  if (ports_->cancelRequested())
    frame_->Say(tr("%1: cancelled").arg(how.name));
  else
    frame_->Say(how.done(snapshot));
}

}  // namespace trotix::gui
