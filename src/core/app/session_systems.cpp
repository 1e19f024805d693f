// Systems of the user's own: the runners of each analysed race kept, systems saved in versions,
// tested over the stored runners and run live on today's races.
#include <algorithm>
#include <map>
#include <set>

#include "analysis/analyse_race.h"
#include "analysis/summa_table.h"
#include "app/error_text.h"
#include "app/recording_ports.h"
#include "app/replay_bodies.h"
#include "app/replay_collector.h"
#include "app/session.h"
#include "archive/archive_http_client.h"
#include "archive/request_key.h"
#include "archive/settlement.h"
#include "model/columns.h"
#include "model/prices.h"
#include "report/scratch_folder.h"
#include "text/strings.h"

namespace trotix {
namespace {

// A name that could be taken for a version of another, or for a method of the report, is refused.
std::string NameError(const std::string& name) {
  if (Trim(name).empty()) return "a system needs a name";
  if (Trim(name) != name) return "a system's name neither begins nor ends with a space";
  if (name == BestOfSystemName(BestOfSystem::kBestRank) ||
      name == BestOfSystemName(BestOfSystem::kBestRecoming))
    return "\"" + name + "\" is a method of the report";
  const auto v = name.rfind(" v");
  if (v != std::string::npos && v + 2 < name.size() &&
      std::all_of(name.begin() + v + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return "a system's name does not end in a version (\" v2\")";
  return {};
}

// How many later days' results a race missing from its own day's results is looked for in.
constexpr int kLaterLooks = 7;

std::tuple<Date, std::string, std::string> FactsKey(const Date& day, const std::string& course,
                                                    const std::string& time) {
  return {day, Upper(Trim(course)), Trim(time)};
}

}  // namespace

// The runners of race k as the analysis left TAB: Summa's parts row by row, in card order.
std::vector<RunnerParts> Session::RaceParts(int k) {
  std::vector<RunnerParts> rows;
  const Table& TAB = ws_.TAB;
  const Instant at = ports_.clock.Utc();
  Pick race;
  race.day = Day();
  race.time = ws_.MM.Text(k, mm::kTime);
  race.course = ws_.MM.Text(k, mm::kCourse);
  const bool late = !BeforeOff(race, at);
  std::string raceClass;
  int runners = 0;
  for (const RaceFacts& f : DayFacts())
    if (Upper(Trim(f.course)) == Upper(Trim(race.course)) && Trim(f.time) == Trim(race.time)) {
      raceClass = f.raceClass;
      runners = f.runners;
      break;
    }
  for (int i = 0; i < TAB.RowCount(); ++i) {
    RunnerParts& r = rows.emplace_back();
    r.day = race.day;
    r.time = race.time;
    r.course = race.course;
    r.runner = TAB.Text(i, tab::kName);
    r.order = i;
    r.parts = SummaParts(TAB, i);
    // The price when picked, as the ledger takes it.
    const double kf = TAB.Number(i, tab::kKf);
    if (!IsNoPrice(kf) && kf > 1) r.price = kf;
    r.nonRunner = IsNonRunner(TAB, i);
    r.late = late;
    r.analysed = UtcText(at);
    r.raceClass = raceClass;
    r.runners = runners;
  }
  return rows;
}

void Session::StoreRaceParts(int k) {
  if (!ports_.archive) return;
  ports_.archive->StoreRunnerParts(RaceParts(k));
  parts_.reset();
}

const std::vector<RaceFacts>& Session::DayFacts() {
  if (!dayFacts_) {
    dayFacts_.emplace();
    if (ports_.archive && day_) {
      const RequestKey dayKey = RequestKeyOf(urls_.Login("", ""), options_.hosts, false);
      *dayFacts_ = RaceFactsOfDay(ports_.archive->LastAnswer(*day_, dayKey));
    }
  }
  return *dayFacts_;
}

void Session::JoinParts(std::vector<RunnerParts>& rows) {
  DayArchive* archive = ports_.archive;
  if (!archive) return;
  const Date today = ports_.clock.Today();
  std::set<Date> days;
  for (const RunnerParts& r : rows)
    if (!r.joined && r.day < today) days.insert(r.day);
  if (days.empty()) return;
  const std::vector<Date> stored = archive->Days();
  const RequestKey dayKey = RequestKeyOf(urls_.Login("", ""), options_.hosts, false);
  std::map<Date, std::vector<RaceResult>> own;
  std::map<Date, std::vector<std::vector<RaceResult>>> later;  // read when a race lacks
  std::map<Date, std::string> cards;
  std::map<std::tuple<Date, std::string, std::string>, RaceFacts> facts;
  const auto resultsKey = [&](const Date& day) {
    return RequestKeyOf(urls_.Results(FormatDate(day)), options_.hosts, false);
  };
  // The day's results as later days fetched them again, the nearest first; a week on they are
  // final.
  const auto laterResults = [&](const Date& day) -> const std::vector<std::vector<RaceResult>>& {
    auto [it, fresh] = later.try_emplace(day);
    if (!fresh) return it->second;
    auto next = std::upper_bound(stored.begin(), stored.end(), day);
    for (int n = 0; n < kLaterLooks && next != stored.end(); ++n, ++next)
      if (auto r = ParseResults(archive->LastAnswer(*next, resultsKey(day))); !r.empty())
        it->second.push_back(std::move(r));
    return it->second;
  };
  for (const Date& day : days) {
    own[day] = ParseResults(archive->LastAnswer(day, resultsKey(day)));
    cards[day] = archive->LastAnswer(day, dayKey);
    for (const RaceFacts& f : RaceFactsOfDay(cards[day]))
      facts.try_emplace(FactsKey(day, f.course, f.time), f);
  }
  std::vector<RunnerParts> joined;
  std::optional<Date> cardsDay;
  std::optional<DayCards> dayCards;
  for (RunnerParts& r : rows) {
    if (r.joined || !days.count(r.day)) continue;
    if (const auto f = facts.find(FactsKey(r.day, r.course, r.time)); f != facts.end()) {
      r.raceClass = f->second.raceClass;
      r.runners = f->second.runners;
    }
    if (cardsDay != r.day) {
      dayCards.emplace(cards[r.day]);
      cardsDay = r.day;
    }
    Pick pick;
    pick.day = r.day;
    pick.time = r.time;
    pick.course = r.course;
    pick.runner = r.runner;
    // The day's own results; a race they lack, from a later look, as "Settle" takes it: still
    // missing on a look after the day, it is void ("no result").
    const std::vector<RaceResult>* results = &own[r.day];
    bool missedBefore = false;
    if (!ResultsHoldRace(*results, pick)) {
      const auto& looks = laterResults(r.day);
      for (const auto& look : looks)
        if (ResultsHoldRace(look, pick)) {
          results = &look;
          break;
        }
      if (results->empty() && !looks.empty()) results = &looks.front();
      missedBefore = !looks.empty();
    }
    const auto verdict = SettlePick(pick, *results, *dayCards, /*dayOver=*/true, missedBefore);
    if (!verdict) continue;  // tried again once a later day has them
    r.result = verdict->result;
    r.position = verdict->position;
    r.sp = verdict->sp;
    r.joined = true;
    joined.push_back(r);
  }
  if (!joined.empty()) archive->JoinRunnerParts(std::move(joined));
}

std::vector<SystemEntry> Session::Systems() {
  return AsCommand([&] {
    std::vector<SystemEntry> out;
    if (!ports_.archive) return out;
    std::map<std::string, int> live;
    for (const Pick& p : ports_.archive->Picks())
      if (p.source == PickSource::kLive) ++live[p.system];
    for (const StoredSystem& s : ports_.archive->Systems()) {
      SystemEntry e{s.name, s.version, SystemPickName(s.name, s.version), s.rule, 0, true};
      e.livePicks = live[e.pickName];
      if (!out.empty() && out.back().name == e.name) out.back().latest = false;
      out.push_back(std::move(e));
    }
    return out;
  });
}

std::optional<SystemEntry> Session::FindSystem(const std::string& name) {
  // The plain name is its latest version; "NAME v1" or the like names an older one.
  const auto all = Systems();
  for (const SystemEntry& e : all)
    if (e.latest && e.name == name) return e;
  for (const SystemEntry& e : all)
    if (e.pickName == name || name == e.name + " v" + std::to_string(e.version)) return e;
  return std::nullopt;
}

SystemSave Session::SaveSystem(const std::string& name, const systems::Rule& rule) {
  SystemSave out;
  if (!ports_.archive) {
    out.error = "systems are kept in the archive, which is off";
    return out;
  }
  if (out.error = NameError(name); !out.error.empty()) return out;
  StoredSystem stored{name, 1, systems::RuleJson(rule), {}};
  std::optional<SystemEntry> latest;
  for (const SystemEntry& e : Systems())
    if (e.name == name && e.latest) latest = e;
  if (latest) {
    stored.version = latest->version;
    if (latest->rule == stored.rule) {
      out.savedAs = latest->pickName;
      return out;
    }
    // Its live record belongs to the rule it was made under.
    if (latest->livePicks > 0) {
      ++stored.version;
      out.newVersion = true;
    }
  }
  out.error = ports_.archive->WriteSystem(stored);
  if (out.error.empty()) out.savedAs = SystemPickName(name, stored.version);
  return out;
}

std::string Session::RenameSystem(const std::string& from, const std::string& to) {
  if (!ports_.archive) return "systems are kept in the archive, which is off";
  if (auto error = NameError(to); !error.empty()) return error;
  bool found = false;
  for (const SystemEntry& e : Systems()) {
    if (e.name == to) return "there is a system \"" + to + "\" already";
    if (e.name != from) continue;
    found = true;
    if (e.livePicks > 0)
      return "\"" + e.pickName +
             "\" has live picks, which carry its name; save it under the new "
             "name instead";
  }
  if (!found) return "there is no system \"" + from + "\"";
  return ports_.archive->RenameSystem(from, to);
}

std::string Session::DeleteSystem(const std::string& name) {
  if (!ports_.archive) return "systems are kept in the archive, which is off";
  for (const SystemEntry& e : Systems())
    if (e.name == name) return ports_.archive->DeleteSystem(name);
  return "there is no system \"" + name + "\"";
}

std::vector<Date> Session::DaysWithoutParts() {
  return AsCommand([&] {
    std::vector<Date> out;
    if (!ports_.archive) return out;
    const auto withParts = ports_.archive->PartsDays();
    // Today may still be analysed; it is never replayed for its runners.
    const Date today = day_ ? *day_ : ports_.clock.Today();
    for (const Date& d : ports_.archive->Days())
      if (d < today && !std::binary_search(withParts.begin(), withParts.end(), d)) out.push_back(d);
    return out;
  });
}

int Session::FillRunnerParts() {
  DayArchive* archive = ports_.archive;
  if (!archive) return 0;
  const std::vector<Date> days = DaysWithoutParts();
  if (days.empty()) return 0;
  const ScratchFolder scratch("trotix-runners");
  Progress& progress = ports_.progress;
  const int count = static_cast<int>(days.size());
  progress.SetGauge(Progress::kPr, 0, count);
  progress.ShowPanel(true);
  ReplayBodies bodies(*archive);
  int filled = 0;
  for (int i = 0; i < count && !stop_.stopped(); ++i) {
    const Date& day = days[i];
    progress.SetCaption("Runners of stored days " + std::to_string(i + 1) + "/" +
                        std::to_string(count) + " — " + FormatDate(day));
    try {
      bodies.NextDay();
      AsCommand([&] {
        auto stored = archive->LoadDay(day);
        if (!stored) return;
        const Hosts hosts = stored->hosts;
        ArchiveHttpClient client(std::move(stored->answers), hosts, bodies.Reader());
        PickCollector collector;
        RecordingBrowser browser;
        RecordingMessages messages;
        SilentProgress quiet;
        FixedClock clock(day);
        SessionOptions replayOptions{hosts, scratch.path(), 1};
        replayOptions.raceTimesOffset = options_.raceTimesOffset;
        Session replay(replayOptions,
                       {client, client, browser, messages, quiet, clock, &collector});
        replay.reference_ = reference_;
        replay.Start();
        if (replay.SignIn({}) == SignInResult::SignedIn) {
          // From real odds when the day stored its runner pages, and only those that came
          // before each race's off, as the back-test takes them.
          bool pages = false, every = true;
          const Workspace& ws = replay.ws();
          for (int k = 0; k < ws.MM.RowCount(); ++k) {
            const auto off = OffInstant(day, ws.MM.Text(k, mm::kTime), options_.raceTimesOffset);
            for (const std::string& page : RealOddsPages(ws, k, replay.urls())) {
              pages = true;
              every = every && client.Holds(page);
              if (every && off) client.KeepOnlyBefore(page, UtcText(*off));
            }
          }
          replay.RunBestRecoming(pages && every);
        }
        if (stop_.stopped()) throw std::runtime_error("stopped");
        for (auto& race : collector.races) archive->StoreRunnerParts(std::move(race));
        archive->NotePartsDay(day);
      });
      ++filled;
    } catch (...) {
      // A day that cannot be replayed is tried again next time; the others go on.
    }
    progress.SetGauge(Progress::kPr, i + 1, count);
  }
  progress.ShowPanel(false);
  parts_.reset();
  return filled;
}

SystemTest Session::TestSystem(const systems::Rule& rule, const std::string& method,
                               std::optional<Date> from, std::optional<Date> to,
                               std::optional<Date> split, double commission) {
  return AsCommand([&] {
    if (!parts_) {
      std::vector<RunnerParts> rows =
          ports_.archive ? ports_.archive->AllRunnerParts() : std::vector<RunnerParts>();
      JoinParts(rows);
      systems::SortRows(rows);
      parts_ = std::make_shared<const std::vector<RunnerParts>>(std::move(rows));
    }
    const std::vector<RunnerParts>& rows = *parts_;
    SystemTest test;
    test.method = method;
    for (std::size_t i = 0; i < rows.size(); ++i)
      if ((i == 0 || rows[i].time != rows[i - 1].time || rows[i].course != rows[i - 1].course ||
           !(rows[i].day == rows[i - 1].day)) &&
          !(from && rows[i].day < *from) && !(to && *to < rows[i].day))
        ++test.races;
    test.figures = systems::Figures(systems::SelectPicks(rows, rule, from, to), method, commission);
    if (split) test.split = systems::SplitTest(rows, rule, method, *split, commission, from, to);
    return test;
  });
}

void Session::RunSystems(bool fromRealOdds, const std::string& only) {
  AsCommand([&] {
    struct Running {
      std::string pickName;
      systems::Rule rule;
    };
    std::vector<Running> running;
    for (const SystemEntry& e : Systems()) {
      if (!e.latest || (!only.empty() && e.name != only && e.pickName != only)) continue;
      if (auto parsed = systems::ParseRule(e.rule); parsed.rule)
        running.push_back({e.pickName, *parsed.rule});
    }
    if (running.empty()) {
      ports_.messages.Show(only.empty() ? "No systems saved" : "No system \"" + only + "\"");
      return;
    }
    RunBestOf(
        "Run systems",
        [&](int k) {
          const std::vector<RunnerParts> race = RaceParts(k);
          for (const Running& s : running) {
            if (!systems::RaceQualifies(race, s.rule)) continue;
            for (const RunnerParts* p : systems::SelectInRace(race, s.rule)) {
              const int r = ws_.REP.AddRow();
              ws_.REP.At(r, rep::kTime).text = ws_.MM.Text(k, mm::kTime);
              ws_.REP.At(r, rep::kCourse).text = ws_.MM.Text(k, mm::kCourse);
              ws_.REP.At(r, rep::kName).text = ws_.TAB.At(p->order, tab::kName).text;
              ws_.REP.At(r, rep::kOdds).text = ws_.TAB.Text(p->order, tab::kKf);
              ws_.REP.At(r, rep::kSystem).text = s.pickName;
            }
          }
        },
        fromRealOdds);
  });
}

void Session::ShowSystems(const SystemsQuery& query, std::string note) {
  AsCommand([&] {
    auto report = std::make_shared<SystemsReport>();
    report->query = query;
    report->note = std::move(note);
    report->systems = Systems();
    report->daysWithoutParts = static_cast<int>(DaysWithoutParts().size());
    report->test =
        TestSystem(query.rule, query.method, query.from, query.to, query.split, query.commission);
    systemsReport_ = std::move(report);
  });
}

}  // namespace trotix
