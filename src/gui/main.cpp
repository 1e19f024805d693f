#include <QApplication>

#include "gui/launch.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return trotix::gui::RunTrotix(app, argc, argv);
}
