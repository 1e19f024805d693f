#include "gui/keyboard_order.h"

#include <QEvent>
#include <QTableView>
#include <QWidget>
#include <initializer_list>

namespace trotix::gui {
namespace {

// Tab walks the widgets named, in that order; one that is missing is left out.
void Chain(QWidget* window, std::initializer_list<const char*> names) {
  QWidget* before = nullptr;
  for (const char* name : names) {
    auto* next = window->findChild<QWidget*>(name);
    if (!next) continue;
    if (before) QWidget::setTabOrder(before, next);
    before = next;
  }
}

// Frames a grid in the highlight colour while it has the focus. The style's own mark is a thin
// line round the current cell, which a selected row hides.
class FocusFrame : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool in = event->type() == QEvent::FocusIn;
    if (in || event->type() == QEvent::FocusOut)
      static_cast<QWidget*>(watched)->setStyleSheet(
          in ? "QTableView { border: 2px solid palette(highlight); }" : QString());
    return false;
  }
};

}  // namespace

void SetKeyboardOrder(QWidget* window) {
  // "ALL TABLE": the races, the runners of the race, its sums, then the TV and exchange buttons.
  Chain(window, {"MM", "TAB", "summaTabs", "R", "RR", "tvButton", "exchangeButton"});
  auto* frame = new FocusFrame(window);
  for (QTableView* grid : window->findChildren<QTableView*>()) grid->installEventFilter(frame);
}

}  // namespace trotix::gui
