#pragma once
// Answers are kept byte for byte; only front ends decode them for display.
#include <string>
#include <string_view>

namespace trotix {

bool IsValidUtf8(std::string_view bytes);
// The text as UTF-8, the one decoding rule of every front end: unchanged when it is valid UTF-8,
// otherwise read as windows-1251, the charset the vendor declares.
std::string DisplayUtf8(std::string_view bytes);

}  // namespace trotix
