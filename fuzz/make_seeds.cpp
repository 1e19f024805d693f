// Writes the seed corpus of every fuzz target from the demo vendor server's generated files:
// make_seeds OUT_DIR. Small days keep each seed quick to run.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "text/dates.h"
#include "vendorsim/content.h"

namespace fs = std::filesystem;
using trotix::vendorsim::ContentOptions;
using trotix::vendorsim::QueryParams;
using trotix::vendorsim::SimContent;

namespace {

// Every `step`-th line from `first`: the score table whole is too long for one input.
std::string Sample(const std::string& text, std::size_t first, std::size_t step) {
  std::string out;
  std::size_t line = 0;
  for (std::size_t at = 0; at < text.size(); ++line) {
    std::size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    if (line >= first && (line - first) % step == 0) out.append(text, at, end - at);
    at = end;
  }
  return out;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += trotix::fuzz::kFilePart;
    out += parts[i];
  }
  return out;
}

void Write(const fs::path& dir, const std::string& name, const std::string& body) {
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << body;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_seeds OUT_DIR\n";
    return 2;
  }
  const fs::path out = argv[1];
  for (int seed = 1; seed <= 3; ++seed) {
    ContentOptions options;
    options.seed = seed;
    options.date = {2026, 12, 8};
    options.races = 2 + seed;
    const SimContent sim(options);
    const auto get = [&](const std::string& path, QueryParams params = {}) {
      return sim.Get(path, params).body;
    };
    const std::string date = trotix::FormatDate(options.date);
    const std::string tag = "demo-" + std::to_string(seed);
    const std::string courses = get("/horse/zabeg.txt");
    const std::string day = get("/login/trotix.php", {{"login", "demo"}, {"pass", "demo"}});
    const std::string process = get("/zorvat/processbasa.txt");
    const std::string score = Sample(get("/zorvat/score.txt"), seed, 40);
    const std::string days = get("/zorvat/dvbasa.txt");
    const std::string indicator = get("/file/tx" + date + ".txt");

    Write(out / "fuzz_race_day", tag, Join({courses, day}));
    Write(out / "fuzz_course_table", tag, Join({courses, sim.day().races.front().course}));
    Write(out / "fuzz_tips", tag, get("/bc/tipsters.xml"));
    Write(out / "fuzz_moves", tag, get("/bc/move.xml"));
    Write(out / "fuzz_results", tag,
          get("/horse/rez.php", {{"date", trotix::FormatDate(trotix::AddDays(options.date, -1))}}));
    Write(out / "fuzz_zorvat", tag, Join({process, score, days, day}));
    Write(out / "fuzz_text", tag, Join({day.substr(0, 512), "  ", " "}));
    std::string page;
    for (const auto& race : sim.day().races) {
      for (const auto& runner : race.runners) {
        if (!race.onExchange() || !runner.onExchange() || !page.empty()) continue;
        page = get("/betting/LoadRunnerInfoAction.do",
                   {{"marketId", race.winMarket}, {"selectionId", runner.selectionId}});
      }
    }
    Write(out / "fuzz_indicator", tag, Join({indicator, page}));
    Write(out / "fuzz_runner_page", tag, page);
    std::string picks;
    for (const auto& race : sim.day().races)
      for (const auto& runner : race.runners)
        if (picks.size() < 400)
          picks += race.time + ">>" + race.course + ">>" + runner.name + ">>\n";
    Write(out / "fuzz_settlement", tag,
          Join({day, get("/horse/rez.php", {{"date", date}}), picks}));
  }
  return 0;
}
