#include <QApplication>

#include "gui/launch.h"

int main(int argc, char** argv) {
  if (const auto status = trotix::gui::AnswerWithoutDisplay(argc, argv)) return *status;
  QApplication app(argc, argv);
  return trotix::gui::RunTrotix(app, argc, argv);
}
