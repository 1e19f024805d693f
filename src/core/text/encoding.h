#pragma once
// Answers are kept byte for byte; only front ends decode them for display.
#include <string>
#include <string_view>

namespace trotix {

bool IsValidUtf8(std::string_view bytes);
// The text as UTF-8: unchanged when it is valid UTF-8, otherwise every byte read as Latin-1.
std::string DisplayUtf8(std::string_view bytes);

}  // namespace trotix
