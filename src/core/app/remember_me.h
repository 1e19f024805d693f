#pragma once
// "tx.log": the remember-me file, lines ended by CR LF: login, password and the data server they
// were remembered for, so a window pointed at another server does not offer them.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The credentials of the file in `folder`; a missing line reads as the empty text. Only a regular
// file of at most 64 KiB is read, never one reached through a link; anything else is ignored
// with a note such as "tx.log ignored: not a regular file". A file that names a data server
// other than `dataServer` is ignored too; one without a server line (an older file) is read.
RememberMeLoad LoadRememberMe(const std::filesystem::path& folder,
                              std::string_view dataServer = {});
// Replaces the file atomically, readable by the owner only. Returns the error text.
std::string SaveRememberMe(const std::filesystem::path& folder, const Credentials& c,
                           std::string_view dataServer = {});
// Forgets the file, unless it was remembered for another data server.
void DeleteRememberMe(const std::filesystem::path& folder, std::string_view dataServer = {});

}  // namespace trotix
