#pragma once
// Small makers the pages share, so buttons, labels and margins look alike on every page.
#include <QFont>
#include <QString>

class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace trotix::gui {

// The window's smallest size, its size before it could be resized.
inline constexpr int kClientWidth = 802, kClientHeight = 623;

// A page's vertical layout.
QVBoxLayout* PageColumn(QWidget* page, int margin = 6);
QPushButton* MakeButton(const char* name, const QString& caption);
QLabel* MakeLabel(const char* name, const QString& text = {});
// A one-line label that, given less room than its text needs, ends it with "…" (its text and
// tooltip stay whole) instead of cutting a letter in half or pushing its neighbours.
QLabel* MakeElidedLabel(const char* name, const QString& text = {});
// `f` a few pixels larger (or smaller), bold unless told otherwise.
QFont Larger(QFont f, int extraPixels, bool bold = true);

}  // namespace trotix::gui
