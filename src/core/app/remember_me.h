#pragma once
// "tx.log": the remember-me file, two lines (login, password), each ended by CR LF.
#include <filesystem>
#include <optional>
#include <string>

namespace trotix {

struct Credentials {
  std::string login;
  std::string password;
};

inline constexpr const char* kRememberMeFile = "tx.log";

struct RememberMeLoad {
  std::optional<Credentials> credentials;  // none when the file is missing or ignored
  std::string note;                        // why an existing file was ignored; empty otherwise
};

// The two lines of the file in `folder`; a missing line reads as the empty text. Only a regular
// file of at most 64 KiB is read, never one reached through a link; anything else is ignored
// with a note such as "tx.log ignored: not a regular file".
RememberMeLoad LoadRememberMe(const std::filesystem::path& folder);
// Replaces the file atomically, readable by the owner only. Returns the error text.
std::string SaveRememberMe(const std::filesystem::path& folder, const Credentials& c);
void DeleteRememberMe(const std::filesystem::path& folder);

}  // namespace trotix
