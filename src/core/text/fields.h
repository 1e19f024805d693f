#pragma once
// Field records ("a>>b>>c>>") and tagged text ("<name>value</name>"): the two shapes every
// answer of the vendor's servers is taken apart with. Byte strings, positions from 1.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trotix {

// Field n of a record whose fields each end in ">>". Text after the last ">>" is no field.
// n <= 0 reads as 1.
std::string GetField(std::string_view record, int n);
// The same field as a view into `record`, for comparisons in long scans that should not allocate.
std::string_view FieldView(std::string_view record, int n);

// The text between the first "<name>" and the next "</name>"; empty when either is missing.
std::string TagValue(std::string_view text, std::string_view name);
// The same value as a view into `text`.
std::string_view TagView(std::string_view text, std::string_view name);

// What TagView gives for each of `names` (at most 32), found in one walk over `text` that stops
// once every name is found.
void ReadTagViews(std::string_view text, std::span<const std::string_view> names,
                  std::span<std::string_view> values);
template <std::size_t N>
std::array<std::string_view, N> TagViews(std::string_view text,
                                         const std::array<std::string_view, N>& names) {
  std::array<std::string_view, N> values{};
  ReadTagViews(text, names, values);
  return values;
}

// The records "<name>...</name>" of a text, left to right, in one pass over it: linear time
// whatever the text holds. A record runs from its opening tag to the next closing tag; one that
// is not closed before the next record opens, or before the end, is unclosed and skipped, so a
// field missing from a record is never read from the next one.
class TagRecords {
 public:
  TagRecords(std::string_view text, std::string_view name);
  // The next record's body, between its tags; nullopt when none is left.
  std::optional<std::string_view> Next();
  // How many unclosed records Next has skipped so far.
  std::size_t skipped() const { return skipped_; }

 private:
  bool TagAt(std::size_t at, std::string_view tag) const;

  std::string_view text_;
  std::string openTag_, closeTag_;
  std::size_t pos_ = 0;
  std::size_t skipped_ = 0;
};

// Replaces every occurrence of `what` by `with`, again and again while one is left, so that
// replacing two spaces by one collapses any run of spaces. When `with` contains `what`, each
// occurrence of the original text is replaced once instead of looping forever.
std::string ReplaceText(std::string text, std::string_view what, std::string_view with);

// Drops everything before the first `tag` together with the tag's first three characters, so
// that the next search for `tag` finds the following record. Returns false when `tag` is absent.
bool CutPastTag(std::string& text, std::string_view tag);

}  // namespace trotix
