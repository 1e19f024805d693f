#include "vendorsim/formats.h"

#include <algorithm>

#include "report/html_escape.h"
#include "text/dates.h"
#include "vendorsim/generator.h"
#include "vendorsim/rng.h"
#include "vendorsim/words.h"

namespace trotix::vendorsim {
namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kPound = "\xC2\xA3";

void Tag(std::string& out, std::string_view name, std::string_view value) {
  out += '<';
  out += name;
  out += '>';
  out += value;
  out += "</";
  out += name;
  out += '>';
}

void Field(std::string& out, std::string_view value) {
  out += value;
  out += ">>";
}

std::string Amount(long long amount) {
  return std::string(kPound) + Thousands(amount);
}

std::string Price(double price, bool thousandWithSeparator) {
  if (price <= 0) return "";
  if (thousandWithSeparator) return "1,000.00";
  return PriceText(price);
}

}  // namespace

std::string CourseTableText() {
  std::string out;
  for (const Course& c : Courses()) {
    Field(out, c.altName);
    Field(out, c.name);
    Field(out, c.country);
    out += kEol;
  }
  return out;
}

std::string DayDataText(const Day& day) {
  std::string out;
  for (const Race& race : day.races) {
    out += "<zabeg>";
    // Course and time stand together: the race card is found by exactly this pair.
    Tag(out, "course", race.course);
    Tag(out, "time", race.time);
    Tag(out, "name", race.name);
    Tag(out, "winner", race.winner);
    Tag(out, "count", race.count);
    Tag(out, "distance", race.distance);
    Tag(out, "going", race.going);
    Tag(out, "class", race.raceClass);
    out += kEol;
    for (const Runner& r : race.runners) {
      out += "<horse>";
      Tag(out, "number", r.number);
      Tag(out, "name_horse", r.name);
      Tag(out, "trainer", r.trainer);
      Tag(out, "jockey", r.jockey);
      Tag(out, "age", r.age);
      Tag(out, "ves", r.weight);
      Tag(out, "form", r.form);
      Tag(out, "days", r.days);
      if (!r.orMissing) Tag(out, "or", r.orText);
      if (!r.tsMissing) Tag(out, "ts", r.tsText);
      if (!r.rprMissing) Tag(out, "rpr", r.rprText);
      out += "</horse>";
      out += kEol;
    }
    out += "</zabeg>";
    out += kEol;
  }
  return out;
}

std::string TipsText(const Day& day) {
  std::string out = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<tipsters>\r\n";
  for (const Tip& t : day.tips) {
    out += "<horse>";
    Tag(out, "course", t.course);
    Tag(out, "time", t.time);
    Tag(out, "name", t.name);
    Tag(out, "place", t.place);
    out += "</horse>";
    out += kEol;
  }
  out += "</tipsters>\r\n";
  return out;
}

std::string MovesText(const Day& day) {
  std::string out = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<moves>\r\n";
  for (const Move& m : day.moves) {
    out += "<horse>";
    Tag(out, "course", m.course);
    Tag(out, "time", m.time);
    Tag(out, "name", m.name);
    Tag(out, "kf1", m.kf1);
    Tag(out, "kf2", m.kf2);
    Tag(out, "precent", m.precent);
    out += "</horse>";
    out += kEol;
  }
  out += "</moves>\r\n";
  return out;
}

std::string ResultPagePath(const Day& day, std::size_t race) {
  std::string date = FormatDate(day.date);
  return "/horse/result/" + date + "-" + std::to_string(race + 1) + ".html";
}

std::string ResultsText(const Day& day, const std::string& linkBase) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < day.races.size(); ++i) {
    const Race& race = day.races[i];
    std::vector<const Runner*> placed(4, nullptr);
    for (const Runner& r : race.runners)
      if (r.finish >= 1 && r.finish <= 4) placed[r.finish - 1] = &r;
    if (!placed[0]) continue;
    std::string line;
    Field(line, race.time);
    Field(line, race.course);
    Field(line, linkBase + ResultPagePath(day, i));
    for (const Runner* r : placed) {
      Field(line, r ? r->number + " " + r->name : "");
      const double sp = r ? (r->startPrice > 0 ? r->startPrice : r->price) : 0;
      Field(line, r ? (sp > 0 ? PriceText(sp) : "-") : "");
    }
    line += "<br>";
    lines.push_back(std::move(line));
  }
  if (lines.empty()) return "";
  // The vendor lists results as they come in, not by time.
  Rng rng = Rng::For(HashText(FormatDate(day.date)), lines.size());
  rng.Shuffle(lines);
  std::string out = "<html><body><b>Trotix results</b> (" + FormatDate(day.date) + ")\r\n";
  for (const std::string& l : lines) {
    out += l;
    out += kEol;
  }
  out += "</body></html>\r\n";
  return out;
}

std::string ResultPageHtml(const Day& day, std::size_t index) {
  const Race& race = day.races[index];
  std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Result " +
                    HtmlEscape(race.time + " " + race.course) + "</title></head><body>\n<h1>" +
                    HtmlEscape(race.course + " " + race.time + " " + FormatDate(day.date)) +
                    "</h1>\n<h2>" + HtmlEscape(race.name) + "</h2>\n<ol>\n";
  std::vector<const Runner*> order;
  for (const Runner& r : race.runners)
    if (r.finish > 0) order.push_back(&r);
  std::sort(order.begin(), order.end(),
            [](const Runner* a, const Runner* b) { return a->finish < b->finish; });
  for (const Runner* r : order)
    out +=
        "<li>" + HtmlEscape(r->number + " " + r->name) + " (" + HtmlEscape(r->jockey) + ")</li>\n";
  out += "</ol>\n</body></html>\n";
  return out;
}

std::string IndicatorText(const Day& day) {
  std::string out;
  for (const Race& race : day.races) {
    if (!race.onExchange()) continue;
    for (const Runner& r : race.runners) {
      if (!r.onExchange()) continue;
      Field(out, race.time);
      Field(out, race.course);
      Field(out, r.exchangeName);
      Field(out, race.winMarket);
      Field(out, r.selectionId);
      Field(out, race.placeMarket);
      out += kEol;
    }
  }
  return out;
}

std::string RunnerPageHtml(const Race& race, const Runner& r, bool place) {
  const long long event = place ? race.placeEventMatched : race.eventMatched;
  const long long volume = place ? r.placeMatched : r.matched;
  const double price = place ? r.placePrice : r.price;
  std::string sp;
  if (r.startPrice > 0 && r.spOnPage)
    sp = PriceText(place ? SnapPrice(1 + (r.startPrice - 1) / 4) : r.startPrice);
  const std::string market = place ? race.placeMarket : race.winMarket;
  auto row = [](std::string_view label, std::string_view value) {
    std::string s = "<tr><td class=\"label\">";
    s += label;
    s += "</td><td><span class=\"globalboldedtext\">";
    s += value;
    s += "</span></td></tr>\n";
    return s;
  };
  std::string out =
      "<!DOCTYPE html>\n<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
      "charset=utf-8\"><title>Runner information</title></head>\n<body>\n<div "
      "id=\"runnerInfo\">\n<h2>" +
      HtmlEscape(r.exchangeName) + "</h2>\n<p>" + HtmlEscape(race.time + " " + race.course) +
      " &mdash; " + (place ? "To Be Placed" : "Win") + " (market 1." + market + ")</p>\n<table>\n";
  out += row("Total matched on this event", Amount(event));
  out += row("Runner volume:", Amount(volume));
  out += row("Last price matched", Price(price, !place && r.thousandWithSeparator));
  out += row("Starting price (SP)", sp);
  out += "</table>\n</div>\n</body></html>\n";
  return out;
}

}  // namespace trotix::vendorsim
