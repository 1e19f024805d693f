#pragma once
// Field records ("a>>b>>c>>") and tagged text ("<name>value</name>"): the two shapes every
// answer of the vendor's servers is taken apart with. Byte strings, positions from 1.
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

// Replaces every occurrence of `what` by `with`, again and again while one is left, so that
// replacing two spaces by one collapses any run of spaces. When `with` contains `what`, each
// occurrence of the original text is replaced once instead of looping forever.
std::string ReplaceText(std::string text, std::string_view what, std::string_view with);

// Drops everything before the first `tag` together with the tag's first three characters, so
// that the next search for `tag` finds the following record. Returns false when `tag` is absent.
bool CutPastTag(std::string& text, std::string_view tag);

}  // namespace trotix
