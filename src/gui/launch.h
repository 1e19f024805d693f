#pragma once
// The program `trotix`: options, the demo server, the window and the screenshot mode.
#include <QString>
#include <optional>

class QApplication;

namespace trotix::gui {

class MainWindow;

// The house look: one style and a font that has Cyrillic, whatever the desktop says.
void ApplyLook(QApplication& app);

// Renders the window as it stands to a PNG. Returns false when the file cannot be written.
bool SaveScreenshot(MainWindow& window, const QString& path);

// Selects the page or the tab inside a page ("Chart") whose caption is `caption`; false when
// none has it.
bool SelectPage(MainWindow& window, const QString& caption);

// `--version` and `--help` answered before any window system is asked for (there may be no
// display); none when the command line asks for something else.
std::optional<int> AnswerWithoutDisplay(int argc, char** argv);

// The whole program; `argv` as QApplication left it.
int RunTrotix(QApplication& app, int argc, char** argv);

}  // namespace trotix::gui
