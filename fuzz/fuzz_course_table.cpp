// The course table and the country look-up behind every flag.
#include <cstddef>
#include <cstdint>
#include <string>

#include "feeds/race_day.h"
#include "fuzz_input.h"
#include "table/table.h"
#include "text/strings.h"

using namespace trotix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // course table, course asked for
  const auto parts = fuzz::SplitParts(data, size, 2);
  const auto table = SplitLines(parts[0]);
  (void)CourseCountryOf(table, parts[1]);
  Table list({Column{"", ColumnKind::Image}});
  list.AddRow();
  SetFlagCell(list, 0, table, parts[1]);
  return 0;
}
