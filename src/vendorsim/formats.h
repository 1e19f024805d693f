#pragma once
// The bytes of every file the vendor's servers and the exchange publish, written from a Day.
#include <string>

#include "vendorsim/sim_day.h"

namespace trotix::vendorsim {

// "/horse/zabeg.txt": alternative name, course, country.
std::string CourseTableText();
// The sign-in answer: one "<zabeg>" block per race with its "<horse>" blocks.
std::string DayDataText(const Day& day);
// "/bc/tipsters.xml" and "/bc/move.xml".
std::string TipsText(const Day& day);
std::string MovesText(const Day& day);
// "/horse/rez.php?date=": an opening part ending in ")", then one eleven-field record per race,
// each ended by "<br>", not in time order. Result pages live under `linkBase`.
std::string ResultsText(const Day& day, const std::string& linkBase);
// Path of a race's result page, under the link base.
std::string ResultPagePath(const Day& day, std::size_t race);
std::string ResultPageHtml(const Day& day, std::size_t race);
// "/file/tx<dd.mm.yyyy>.txt": time, course, runner, win market, selection, place market.
std::string IndicatorText(const Day& day);
// The exchange's runner information page, UTF-8, for the win or the place market.
std::string RunnerPageHtml(const Race& race, const Runner& runner, bool placeMarket);

}  // namespace trotix::vendorsim
