#pragma once
// The window's status line: one line of text that never widens the window. A text longer than
// the room is shown cut in the middle with "…", whole in its tooltip.
#include <QLabel>

namespace trotix::gui {

class StatusLine : public QLabel {
  Q_OBJECT
 public:
  explicit StatusLine(QWidget* parent = nullptr);

  // The text as it is drawn at the present width.
  QString ShownText() const;

  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace trotix::gui
