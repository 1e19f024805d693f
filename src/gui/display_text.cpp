#include "gui/display_text.h"

#include "text/encoding.h"

namespace trotix::gui {

QString Display(const std::string& bytes) {
  return QString::fromStdString(DisplayUtf8(bytes));
}

std::string Input(const QString& text) {
  return text.toUtf8().toStdString();
}

}  // namespace trotix::gui
