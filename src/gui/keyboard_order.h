#pragma once
// The window by keyboard: Tab goes from a race list to the grids it fills before the buttons
// beside them, and the grid that has the focus shows it.
class QWidget;

namespace trotix::gui {

// Sets the Tab order of the pages under `window` and marks the focused grid of each page.
void SetKeyboardOrder(QWidget* window);

}  // namespace trotix::gui
