#include "systems/rule.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace trotix::systems {

const std::array<const char*, kPartCount> kPartKeys = {"rank",      "bf",   "scalp", "rpr",
                                                       "indicator", "tips", "fr",    "zorvat"};
const std::array<const char*, kPartCount> kPartCaptions = {"Rank",      "BF %",  "Scalp", "RPR",
                                                           "Indicator", "Tips1", "FR",    "Zorvat"};

namespace {

using Json = nlohmann::json;

struct BadFile {
  std::string why;
};

int PartIndex(const std::string& key) {
  for (int i = 0; i < kPartCount; ++i)
    if (key == kPartKeys[i]) return i;
  return -1;
}

const Json& Object(const Json& j, const std::string& where) {
  if (!j.is_object()) throw BadFile{where + " must be an object"};
  return j;
}

void OnlyKeys(const Json& j, const std::string& where, std::initializer_list<const char*> keys) {
  for (const auto& [key, value] : j.items()) {
    bool known = false;
    for (const char* k : keys) known = known || key == k;
    if (!known) throw BadFile{"unknown key \"" + key + "\" in " + where};
  }
}

double Number(const Json& j, const std::string& where) {
  if (!j.is_number()) throw BadFile{where + " must be a number"};
  const double v = j.get<double>();
  if (!std::isfinite(v)) throw BadFile{where + " must be a finite number"};
  return v;
}

double NotNegative(const Json& j, const std::string& where) {
  const double v = Number(j, where);
  if (v < 0) throw BadFile{where + " must not be negative"};
  return v;
}

int Count(const Json& j, const std::string& where) {
  const double v = NotNegative(j, where);
  if (v != std::floor(v) || v > 1000) throw BadFile{where + " must be a whole number"};
  return static_cast<int>(v);
}

std::vector<std::string> Texts(const Json& j, const std::string& where) {
  if (!j.is_array()) throw BadFile{where + " must be a list of texts"};
  std::vector<std::string> out;
  for (const Json& e : j) {
    if (!e.is_string()) throw BadFile{where + " must be a list of texts"};
    out.push_back(e.get<std::string>());
  }
  return out;
}

// "" or "h:mm"/"hh:mm".
std::string TimeText(const Json& j, const std::string& where) {
  if (!j.is_string()) throw BadFile{where + " must be a time, \"hh:mm\""};
  const std::string t = j.get<std::string>();
  if (t.empty()) return t;
  int h = -1, m = -1;
  char end = 0;
  if (std::sscanf(t.c_str(), "%d:%d%c", &h, &m, &end) != 2 || h < 0 || h > 23 || m < 0 || m > 59)
    throw BadFile{where + " must be a time, \"hh:mm\", not \"" + t + "\""};
  return t;
}

void ReadRace(const Json& j, Rule& r) {
  Object(j, "\"race\"");
  OnlyKeys(j, "\"race\"", {"courses", "classes", "runnersMin", "runnersMax", "timeFrom", "timeTo"});
  if (j.contains("courses")) r.courses = Texts(j["courses"], "race.courses");
  if (j.contains("classes")) r.classes = Texts(j["classes"], "race.classes");
  if (j.contains("runnersMin")) r.runnersMin = Count(j["runnersMin"], "race.runnersMin");
  if (j.contains("runnersMax")) r.runnersMax = Count(j["runnersMax"], "race.runnersMax");
  if (j.contains("timeFrom")) r.timeFrom = TimeText(j["timeFrom"], "race.timeFrom");
  if (j.contains("timeTo")) r.timeTo = TimeText(j["timeTo"], "race.timeTo");
  if (r.runnersMax > 0 && r.runnersMin > r.runnersMax)
    throw BadFile{"race.runnersMin is above race.runnersMax"};
}

void ReadRunner(const Json& j, Rule& r) {
  Object(j, "\"runner\"");
  OnlyKeys(j, "\"runner\"", {"priceMin", "priceMax", "partMin"});
  if (j.contains("priceMin")) r.priceMin = NotNegative(j["priceMin"], "runner.priceMin");
  if (j.contains("priceMax")) r.priceMax = NotNegative(j["priceMax"], "runner.priceMax");
  if (r.priceMax > 0 && r.priceMin > r.priceMax)
    throw BadFile{"runner.priceMin is above runner.priceMax"};
  if (!j.contains("partMin")) return;
  for (const auto& [key, value] : Object(j["partMin"], "runner.partMin").items()) {
    const int i = PartIndex(key);
    if (i < 0) throw BadFile{"unknown part \"" + key + "\" in runner.partMin"};
    r.partMin[i] = Number(value, "runner.partMin." + key);
  }
}

void ReadSelect(const Json& j, Rule& r) {
  Object(j, "\"select\"");
  OnlyKeys(j, "\"select\"", {"top", "atLeast", "leadBy"});
  if (j.size() > 1) throw BadFile{"\"select\" holds one of top, atLeast and leadBy"};
  if (j.contains("top")) {
    r.select = Select::kTop;
    r.selectValue = Count(j["top"], "select.top");
    if (r.selectValue < 1) throw BadFile{"select.top must be 1 or more"};
  } else if (j.contains("atLeast")) {
    r.select = Select::kAtLeast;
    r.selectValue = Number(j["atLeast"], "select.atLeast");
  } else if (j.contains("leadBy")) {
    r.select = Select::kLeadBy;
    r.selectValue = NotNegative(j["leadBy"], "select.leadBy");
  }
}

}  // namespace

ParsedRule ParseRule(std::string_view text) {
  Rule r;
  try {
    const Json j = Json::parse(text);
    Object(j, "the system");
    OnlyKeys(j, "the system", {"weights", "race", "runner", "select"});
    if (j.contains("weights")) {
      for (const auto& [key, value] : Object(j["weights"], "\"weights\"").items()) {
        const int i = PartIndex(key);
        if (i < 0) throw BadFile{"unknown part \"" + key + "\" in weights"};
        r.weights[i] = Number(value, "weights." + key);
      }
    }
    if (j.contains("race")) ReadRace(j["race"], r);
    if (j.contains("runner")) ReadRunner(j["runner"], r);
    if (j.contains("select")) ReadSelect(j["select"], r);
  } catch (const Json::exception& e) {
    return {std::nullopt, std::string("not JSON: ") + e.what()};
  } catch (const BadFile& e) {
    return {std::nullopt, e.why};
  }
  return {r, {}};
}

std::string RuleJson(const Rule& r) {
  nlohmann::ordered_json weights = nlohmann::ordered_json::object();
  for (int i = 0; i < kPartCount; ++i) weights[kPartKeys[i]] = r.weights[i];
  nlohmann::ordered_json partMin = nlohmann::ordered_json::object();
  for (int i = 0; i < kPartCount; ++i)
    if (r.partMin[i]) partMin[kPartKeys[i]] = *r.partMin[i];
  nlohmann::ordered_json select = nlohmann::ordered_json::object();
  switch (r.select) {
    case Select::kTop:
      select["top"] = static_cast<int>(r.selectValue);
      break;
    case Select::kAtLeast:
      select["atLeast"] = r.selectValue;
      break;
    case Select::kLeadBy:
      select["leadBy"] = r.selectValue;
      break;
  }
  const nlohmann::ordered_json j = {
      {"weights", weights},
      {"race",
       {{"courses", r.courses},
        {"classes", r.classes},
        {"runnersMin", r.runnersMin},
        {"runnersMax", r.runnersMax},
        {"timeFrom", r.timeFrom},
        {"timeTo", r.timeTo}}},
      {"runner", {{"priceMin", r.priceMin}, {"priceMax", r.priceMax}, {"partMin", partMin}}},
      {"select", select}};
  return j.dump(2);
}

}  // namespace trotix::systems
