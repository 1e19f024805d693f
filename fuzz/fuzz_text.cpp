// The text utilities every parser chains: field records, tags, replace, numbers, dates, names.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "model/country.h"
#include "text/dates.h"
#include "text/encoding.h"
#include "text/fields.h"
#include "text/name_number.h"
#include "text/numbers.h"
#include "text/strings.h"

using namespace trotix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // text, searched text, replacement
  const auto parts = fuzz::SplitParts(data, size, 3);
  const std::string_view text = parts[0];
  const int n = size > 0 ? static_cast<int8_t>(data[0]) : 1;

  (void)GetField(text, n);
  (void)TagValue(text, parts[1].substr(0, 16));
  const std::string replaced = ReplaceText(std::string(text), parts[1], parts[2]);
  // A finished replace leaves nothing to replace, unless the replacement brings it back.
  if (!parts[1].empty() && parts[2].find(parts[1]) == std::string_view::npos &&
      replaced.find(parts[1]) != std::string::npos)
    __builtin_trap();
  std::string cut(text);
  while (CutPastTag(cut, "<horse>")) {
  }
  // One walk for several tags finds what a search for each tag finds.
  std::string_view tag = parts[1].substr(0, 16);
  if (tag.find_first_of("<>") != std::string_view::npos) tag = "name";
  const std::array<std::string_view, 3> names = {tag, "horse", "name_horse"};
  const auto views = TagViews(text, names);
  for (std::size_t k = 0; k < names.size(); ++k)
    if (views[k] != TagView(text, names[k])) __builtin_trap();
  // Records come in order, none holding its own opening tag.
  TagRecords records(text, "horse");
  const char* end = text.data();
  while (const auto body = records.Next()) {
    if (body->data() < end || body->find("<horse>") != std::string_view::npos) __builtin_trap();
    end = body->data() + body->size();
  }

  (void)Trim(text);
  (void)Upper(text);
  (void)SplitLines(text);
  (void)CourseCountry(text);
  if (const int digit = NameNumber(text); digit < 0 || digit > 9) __builtin_trap();
  (void)DisplayUtf8(text);

  if (const auto v = ParseDecimal(text)) {
    (void)FormatGeneral(*v);
    (void)FormatFixed(*v, 2);
    (void)RoundToInt(*v);
  }
  (void)ParseInteger(text);
  (void)IntegerOrZero(text);
  if (const auto d = ParseDate(text)) {
    (void)FormatDate(*d);
    (void)FormatDayMonth(AddDays(*d, n));
  }
  return 0;
}
