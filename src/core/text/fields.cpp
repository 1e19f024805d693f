#include "text/fields.h"

#include <algorithm>
#include <cstdint>

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

std::string_view TagView(std::string_view text, std::string_view name) {
  const std::string open = "<" + std::string(name) + ">";
  const std::string close = "</" + std::string(name) + ">";
  const auto start = text.find(open);
  if (start == std::string_view::npos) return {};
  const auto rest = text.substr(start + open.size());
  const auto end = rest.find(close);
  if (end == std::string_view::npos) return {};
  return rest.substr(0, end);
}

std::string TagValue(std::string_view text, std::string_view name) {
  return std::string(TagView(text, name));
}

void ReadTagViews(std::string_view text, std::span<const std::string_view> names,
                  std::span<std::string_view> values) {
  constexpr auto npos = std::string_view::npos;
  std::size_t longest = 0;
  for (const auto name : names) longest = std::max(longest, name.size());
  std::uint32_t found = 0;
  std::size_t left = names.size();
  // Every "<" in turn: the text up to the next ">" close by is the tag's name.
  for (auto at = text.find('<'); at != npos && left > 0; at = text.find('<', at + 1)) {
    const auto rest = text.substr(at + 1, longest + 1);
    const auto gt = rest.find('>');
    if (gt == npos) continue;
    const auto tag = rest.substr(0, gt);
    for (std::size_t k = 0; k < names.size(); ++k) {
      if ((found >> k & 1) != 0 || names[k] != tag) continue;
      found |= std::uint32_t{1} << k;
      --left;
      // Only the first opening tag counts, closed or not.
      const std::size_t body = at + 1 + gt + 1;
      for (auto close = text.find("</", body); close != npos; close = text.find("</", close + 1)) {
        const std::size_t end = close + 2 + tag.size();
        if (end < text.size() && text[end] == '>' && text.substr(close + 2, tag.size()) == tag) {
          values[k] = text.substr(body, close - body);
          break;
        }
      }
      break;
    }
  }
}

TagRecords::TagRecords(std::string_view text, std::string_view name)
    : text_(text),
      openTag_("<" + std::string(name) + ">"),
      closeTag_("</" + std::string(name) + ">") {}

bool TagRecords::TagAt(std::size_t at, std::string_view tag) const {
  return text_.size() - at >= tag.size() && text_[at + 1] == tag[1] &&
         text_.compare(at, tag.size(), tag) == 0;
}

std::optional<std::string_view> TagRecords::Next() {
  constexpr auto npos = std::string_view::npos;
  // Each stretch of text is walked once: a body up to the first tag of the record's name after
  // it, then on from that tag.
  for (auto open = text_.find(openTag_, pos_); open != npos;) {
    const std::size_t body = open + openTag_.size();
    open = npos;
    for (auto at = text_.find('<', body); at != npos; at = text_.find('<', at + 1)) {
      if (TagAt(at, closeTag_)) {
        pos_ = at + closeTag_.size();
        return text_.substr(body, at - body);
      }
      if (TagAt(at, openTag_)) {
        open = at;  // this record is unclosed; the next one starts here
        break;
      }
    }
    ++skipped_;
  }
  pos_ = text_.size();
  return std::nullopt;
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
