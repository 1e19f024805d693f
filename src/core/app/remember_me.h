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

// The two lines of the file in `folder`; a missing line reads as the empty text. No value when
// the file does not exist.
std::optional<Credentials> LoadRememberMe(const std::filesystem::path& folder);
// Replaces the file atomically, readable by the owner only. Returns the error text.
std::string SaveRememberMe(const std::filesystem::path& folder, const Credentials& c);
void DeleteRememberMe(const std::filesystem::path& folder);

}  // namespace trotix
