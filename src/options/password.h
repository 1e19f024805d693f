#pragma once
// Where a run's password comes from. `--password TEXT` is readable by every user of the machine
// (/proc/PID/cmdline), so a file of the owner's, the TROTIX_PASSWORD variable (readable by the
// owner alone, /proc/PID/environ) and a prompt without echo are offered beside it.
#include <filesystem>
#include <optional>
#include <string>

namespace trotix {

inline constexpr const char* kPasswordVariable = "TROTIX_PASSWORD";

// The first line of `file`, without its line end. Empty `error` on success; the file must be a
// regular file of at most 4 KiB.
std::string ReadPasswordFile(const std::filesystem::path& file, std::string& error);

// Asks for the password on the terminal `in` (shown on `out`) with echo off, and puts the
// terminal back as it was. Ctrl+C or Ctrl+D before Enter is none.
std::optional<std::string> PromptPassword(int in, int out, const std::string& prompt);

}  // namespace trotix
