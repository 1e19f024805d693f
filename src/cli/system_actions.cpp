#include "system_actions.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "json_output.h"
#include "systems/rule.h"
#include "text/dates.h"
#include "text_output.h"

namespace trotix {
namespace {

constexpr const char* kSystemUsage =
    "system wants: save NAME FILE | list | show NAME | delete NAME | test NAME [FROM [TO]] | "
    "run NAME";

// The file's text, or why it cannot be read.
bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  text = all.str();
  return true;
}

// The rule of a system file, or the error text.
std::string RuleOfFile(const std::string& path, systems::Rule& rule) {
  std::string text;
  if (!ReadFile(path, text)) return "system: cannot read " + path;
  const auto parsed = systems::ParseRule(text);
  if (!parsed.rule) return "system: " + path + ": " + parsed.error;
  rule = *parsed.rule;
  return {};
}

ProofSide SideOf(const systems::TestFigures& t) {
  ProofSide side;
  side.bets = t.bets;
  side.methods = {t.figures};
  side.pending = t.pending;
  return side;
}

nlohmann::json TestJson(const systems::TestFigures& t) {
  auto j = ProofJson(SideOf(t));
  j["source"] = "test";
  j.erase("run");
  j["pending"] = t.pending;
  return j;
}

}  // namespace

std::string ParseSystemWords(const std::vector<std::string>& words, std::size_t& i,
                             Action& action) {
  if (i + 1 >= words.size()) return kSystemUsage;
  const std::string sub = words[++i];
  action.args.push_back(sub);
  const auto take = [&](const char* what) -> std::string {
    if (i + 1 >= words.size()) return "system " + sub + " needs " + what;
    action.args.push_back(words[++i]);
    return {};
  };
  if (sub == "list") return {};
  if (sub == "show" || sub == "delete" || sub == "run") return take("a system's name");
  if (sub == "save") {
    if (auto e = take("a name and a file"); !e.empty()) return e;
    if (auto e = take("a file"); !e.empty()) return e;
    systems::Rule rule;
    return RuleOfFile(action.args.back(), rule);
  }
  if (sub == "test") {
    if (auto e = take("a system's name or file"); !e.empty()) return e;
    for (int n = 0; n < 2 && i + 1 < words.size() && ParseDate(words[i + 1]); ++n)
      action.args.push_back(words[++i]);
    return {};
  }
  return kSystemUsage;
}

bool IsOfflineSystemAction(const Action& action) {
  return action.name == "system" && !action.args.empty() && action.args[0] != "run";
}

std::string RunSystemAction(Session& s, ActionState& state, const Action& a) {
  if (!state.archive) return "system needs the archive";
  const std::string& sub = a.args.at(0);
  std::ostringstream text;
  nlohmann::json json;
  if (sub == "list") {
    json = nlohmann::json::array();
    for (const SystemEntry& e : s.Systems()) {
      json.push_back({{"name", e.name}, {"version", e.version}, {"livePicks", e.livePicks}});
      text << e.pickName << "\tversion " << e.version << "\t" << e.livePicks << " live picks\n";
    }
  } else if (sub == "show") {
    const auto found = s.FindSystem(a.args.at(1));
    if (!found) return "system show: there is no system \"" + a.args[1] + "\"";
    json = nlohmann::json::parse(found->rule);
    text << found->rule << '\n';
  } else if (sub == "delete") {
    if (state.archiveReadOnly) return "system delete: the archive is read-only";
    if (auto e = s.DeleteSystem(a.args.at(1)); !e.empty()) return "system delete: " + e;
    json = {{"deleted", a.args[1]}};
    text << "deleted " << a.args[1] << '\n';
  } else if (sub == "save") {
    if (state.archiveReadOnly) return "system save: the archive is read-only";
    systems::Rule rule;
    if (auto e = RuleOfFile(a.args.at(2), rule); !e.empty()) return e;
    const SystemSave saved = s.SaveSystem(a.args.at(1), rule);
    if (!saved.error.empty()) return "system save: " + saved.error;
    json = {{"savedAs", saved.savedAs}, {"newVersion", saved.newVersion}};
    text << "saved as " << saved.savedAs
         << (saved.newVersion ? " (a new version: the rule changed after live picks)" : "") << '\n';
  } else if (sub == "test") {
    systems::Rule rule;
    std::string method = a.args.at(1);
    if (const auto found = s.FindSystem(method)) {
      rule = *systems::ParseRule(found->rule).rule;
      method = found->pickName;
    } else if (auto e = RuleOfFile(method, rule); !e.empty()) {
      return "system test: there is no system \"" + method + "\" and no such file";
    }
    std::optional<Date> from, to;
    if (a.args.size() > 2) from = ParseDate(a.args[2]);
    if (a.args.size() > 3) to = ParseDate(a.args[3]);
    // Days stored before their runners were kept are replayed for them once.
    if (!state.archiveReadOnly) s.FillRunnerParts();
    const SystemTest t =
        s.TestSystem(rule, method, from, to, state.split, state.proofQuery.commission);
    if (t.split) {
      json = {{"inSample", TestJson(t.split->inSample)},
              {"outOfSample", TestJson(t.split->outOfSample)},
              {"warning", t.split->warning}};
      text << "In-sample, before " << FormatDate(*state.split) << ":\n";
      PrintProof(text, SideOf(t.split->inSample));
      text << "Out-of-sample, from " << FormatDate(*state.split) << ":\n";
      PrintProof(text, SideOf(t.split->outOfSample));
      if (!t.split->warning.empty()) text << "warning: " << t.split->warning << '\n';
    } else {
      json = TestJson(t.figures);
      PrintProof(text, SideOf(t.figures));
    }
  } else if (sub == "run") {
    if (state.archiveReadOnly) return "system run: the archive is read-only";
    if (s.ws().MM.RowCount() == 0) return "system run: no race in today's card";
    if (!s.FindSystem(a.args.at(1))) return "system run: there is no system \"" + a.args[1] + "\"";
    s.RunSystems(state.fromRealOdds, a.args[1]);
    state.archiveUsed = true;
    return {};
  }
  state.systemOutput = state.json ? json.dump(2) + "\n" : text.str();
  return {};
}

}  // namespace trotix
