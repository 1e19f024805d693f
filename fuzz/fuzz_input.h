#pragma once
// Cuts one fuzz input into the several files a parser chain takes. Seeds join the files with
// kFilePart so that mutations keep the parts recognisable.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace trotix::fuzz {

inline constexpr std::string_view kFilePart = "\n--8<--\n";

inline std::vector<std::string_view> SplitParts(const uint8_t* data, size_t size, size_t parts) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> out;
  while (out.size() + 1 < parts) {
    const size_t at = rest.find(kFilePart);
    if (at == std::string_view::npos) break;
    out.push_back(rest.substr(0, at));
    rest.remove_prefix(at + kFilePart.size());
  }
  out.push_back(rest);
  out.resize(parts);  // missing parts read as empty files
  return out;
}

}  // namespace trotix::fuzz
