#include "report/scratch_folder.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>

namespace trotix {

ScratchFolder::ScratchFolder(std::string_view prefix) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("Cannot make a scratch folder under " +
                             std::filesystem::temp_directory_path().string());
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace trotix
