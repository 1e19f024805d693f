#pragma once
// The only place where the window turns the system's byte strings into screen text and back.
#include <QString>
#include <string>

namespace trotix::gui {

// Bytes as shown, through the core's one rule (UTF-8 when valid, otherwise windows-1251).
QString Display(const std::string& bytes);
// What the user typed, as UTF-8 bytes.
std::string Input(const QString& text);

}  // namespace trotix::gui
