#include "text/fields.h"

namespace trotix {

std::string_view FieldView(std::string_view record, int n) {
  constexpr std::string_view kEnd = ">>";
  for (int i = 1; i < n; ++i) {
    const auto pos = record.find(kEnd);
    if (pos == std::string_view::npos) break;
    record.remove_prefix(pos + kEnd.size());
  }
  const auto pos = record.find(kEnd);
  if (pos == std::string_view::npos) return {};
  return record.substr(0, pos);
}

std::string GetField(std::string_view record, int n) {
  return std::string(FieldView(record, n));
}

std::string TagValue(std::string_view text, std::string_view name) {
  const std::string open = "<" + std::string(name) + ">";
  const std::string close = "</" + std::string(name) + ">";
  const auto start = text.find(open);
  if (start == std::string_view::npos) return {};
  const auto rest = text.substr(start + open.size());
  const auto end = rest.find(close);
  if (end == std::string_view::npos) return {};
  return std::string(rest.substr(0, end));
}

std::string ReplaceText(std::string text, std::string_view what, std::string_view with) {
  if (what.empty()) return text;
  if (with.find(what) != std::string_view::npos) {
    // Repeating would never end: replace each original occurrence once.
    std::string out;
    std::size_t from = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, from)) {
      out.append(text, from, pos - from).append(with);
      from = pos + what.size();
    }
    return out.append(text, from);
  }
  // Searching again from where the last replacement began finds every occurrence the
  // replacement creates, as a search from the start would, without going quadratic.
  for (auto pos = text.find(what); pos != std::string::npos;) {
    text.replace(pos, what.size(), with);
    const std::size_t back = what.size() > 1 ? what.size() - 1 : 0;
    pos = text.find(what, pos > back ? pos - back : 0);
  }
  return text;
}

bool CutPastTag(std::string& text, std::string_view tag) {
  const auto pos = text.find(tag);
  if (pos == std::string::npos) return false;
  text.erase(0, pos + 3);
  return true;
}

}  // namespace trotix
