#include "gui/keyboard_order.h"

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

}  // namespace

void SetKeyboardOrder(QWidget* window) {
  // "ALL TABLE": the races, the runners of the race, its sums, then the TV and exchange buttons.
  Chain(window, {"MM", "TAB", "summaTabs", "R", "RR", "tvButton", "exchangeButton"});
  // The style's own focus mark on a grid is its current cell only, which a selected row hides.
  for (QTableView* grid : window->findChildren<QTableView*>())
    grid->setStyleSheet("QTableView:focus { border: 2px solid palette(highlight); }");
}

}  // namespace trotix::gui
