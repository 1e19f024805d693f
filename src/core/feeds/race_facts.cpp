#include "feeds/race_facts.h"

#include <array>

#include "text/fields.h"
#include "text/strings.h"

namespace trotix {

std::vector<RaceFacts> RaceFactsOfDay(std::string_view dayText) {
  static constexpr std::array<std::string_view, 3> kNames{"course", "time", "class"};
  std::vector<RaceFacts> out;
  TagRecords races(dayText, "zabeg");
  while (const auto race = races.Next()) {
    const auto [course, time, raceClass] = TagViews(*race, kNames);
    RaceFacts facts{Trim(course), Trim(time), Trim(raceClass), 0};
    TagRecords runners(*race, "horse");
    while (const auto runner = runners.Next())
      facts.runners += Upper(Trim(TagValue(*runner, "number"))) != "NR";
    out.push_back(std::move(facts));
  }
  return out;
}

}  // namespace trotix
