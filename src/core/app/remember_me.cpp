#include "app/remember_me.h"

#include <fstream>
#include <sstream>

#include "report/save_file.h"
#include "text/strings.h"

namespace trotix {

std::optional<Credentials> LoadRememberMe(const std::filesystem::path& folder) {
  std::ifstream in(folder / kRememberMeFile, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  const auto lines = SplitLines(text.str());
  Credentials c;
  if (!lines.empty()) c.login = lines[0];
  if (lines.size() > 1) c.password = lines[1];
  return c;
}

std::string SaveRememberMe(const std::filesystem::path& folder, const Credentials& c) {
  return SaveTextFile(folder / kRememberMeFile, c.login + "\r\n" + c.password + "\r\n", true);
}

void DeleteRememberMe(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::remove(folder / kRememberMeFile, ignored);
}

}  // namespace trotix
