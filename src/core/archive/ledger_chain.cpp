#include "archive/ledger_chain.h"

#include <openssl/evp.h>

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <tuple>

#include "text/instants.h"

namespace trotix {
namespace {

PickResult ResultOfText(std::string_view text) {
  for (PickResult r :
       {PickResult::kWon, PickResult::kPlaced, PickResult::kUnplaced, PickResult::kVoid})
    if (text == PickResultName(r)) return r;
  return PickResult::kUnsettled;
}

using PickKey =
    std::tuple<std::string, std::string, std::string, std::string, std::string, long long>;

ChainCheck Broken(ChainCheck check, long long event, std::string why) {
  check.intact = false;
  check.badEvent = event;
  check.why = std::move(why);
  return check;
}

}  // namespace

ChainHasher::ChainHasher() : md_(EVP_MD_fetch(nullptr, "SHA256", nullptr)), ctx_(EVP_MD_CTX_new()) {
  if (md_ == nullptr || ctx_ == nullptr) throw std::runtime_error("no SHA-256 in libcrypto");
}

ChainHasher::~ChainHasher() {
  EVP_MD_CTX_free(ctx_);
  EVP_MD_free(md_);
}

std::string ChainHasher::Hash(std::string_view prev, std::string_view canonical) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned size = 0;
  const bool ok = EVP_DigestInit_ex(ctx_, md_, nullptr) == 1 &&
                  EVP_DigestUpdate(ctx_, prev.data(), prev.size()) == 1 &&
                  EVP_DigestUpdate(ctx_, canonical.data(), canonical.size()) == 1 &&
                  EVP_DigestFinal_ex(ctx_, digest, &size) == 1;
  if (!ok) throw std::runtime_error("SHA-256 failed in libcrypto");
  return HexText({reinterpret_cast<const char*>(digest), size});
}

std::string ChainHash(std::string_view prev, std::string_view canonical) {
  return ChainHasher().Hash(prev, canonical);
}

std::string HexText(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out(bytes.size() * 2, '0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    out[2 * i] = kHex[b >> 4];
    out[2 * i + 1] = kHex[b & 15];
  }
  return out;
}

std::optional<std::string> BytesOfHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  const auto digit = [](char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
  };
  std::string out(hex.size() / 2, '\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    const int high = digit(hex[2 * i]), low = digit(hex[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out[i] = static_cast<char>(high << 4 | low);
  }
  return out;
}

ChainedEvent Chain(LedgerEvent event, const std::string& prev) {
  ChainHasher hasher;
  return Chain(std::move(event), prev, hasher);
}

ChainedEvent Chain(LedgerEvent event, const std::string& prev, ChainHasher& hasher) {
  ChainedEvent chained{std::move(event), prev, {}};
  chained.hash = hasher.Hash(prev, CanonicalText(chained.event));
  return chained;
}

ChainCheck VerifyChain(const std::vector<ChainedEvent>& events) {
  ChainCheck check;
  check.events = static_cast<long long>(events.size());
  ChainHasher hasher;
  std::string prev = kChainStart;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const ChainedEvent& e = events[i];
    const long long place = static_cast<long long>(i) + 1;
    if (e.event.seq != place)
      return Broken(
          check, place,
          "its number is " + std::to_string(e.event.seq) + ", not " + std::to_string(place));
    if (e.prev != prev) return Broken(check, place, "it does not follow the event before it");
    if (hasher.Hash(prev, CanonicalText(e.event)) != e.hash)
      return Broken(check, place, "its fields do not match its hash");
    prev = e.hash;
  }
  return check;
}

std::string ExportLine(const ChainedEvent& e) {
  return "{\"event\": " + CanonicalText(e.event) + ", \"prev\": \"" + e.prev + "\", \"hash\": \"" +
         e.hash + "\"}";
}

ChainCheck VerifyExport(std::string_view text) {
  ChainCheck check;
  for (std::size_t at = 0; at < text.size();) {
    const auto end = std::min(text.find('\n', at), text.size());
    const std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line != "\r") ++check.events;
    at = end + 1;
  }
  ChainHasher hasher;
  std::string prev = kChainStart;
  long long place = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    ++place;
    const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    const auto field = [&](const char* key) -> const nlohmann::json* {
      if (!object.is_object()) return nullptr;
      const auto it = object.find(key);
      return it == object.end() ? nullptr : &*it;
    };
    const nlohmann::json* event = field("event");
    const nlohmann::json* linePrev = field("prev");
    const nlohmann::json* hash = field("hash");
    if (!event || !event->is_object() || !linePrev || !linePrev->is_string() || !hash ||
        !hash->is_string())
      return Broken(check, place, "line " + std::to_string(place) + " is no event of a ledger");
    const auto seq = event->find("seq");
    if (seq == event->end() || !seq->is_number_integer() || seq->get<long long>() != place)
      return Broken(check, place, "its number is not " + std::to_string(place));
    if (linePrev->get<std::string>() != prev)
      return Broken(check, place, "it does not follow the event before it");
    if (hasher.Hash(prev, CanonicalText(*event)) != hash->get<std::string>())
      return Broken(check, place, "its fields do not match its hash");
    prev = hash->get<std::string>();
  }
  return check;
}

std::string ChainCheckText(const ChainCheck& c) {
  std::string text = "Record: " + std::to_string(c.events) + " event" + (c.events == 1 ? "" : "s");
  if (c.intact) {
    text += ", chain intact";
  } else {
    text += ", chain broken at event " + std::to_string(c.badEvent) + ": " + c.why;
  }
  if (c.migrated > 0)
    text += " (events 1-" + std::to_string(c.migrated) +
            " are the picks of an older archive; the chain began there)";
  return text;
}

std::string EventSource(const Pick& pick) {
  if (pick.source == PickSource::kBacktest) return "backtest";
  return pick.late ? "late" : "live";
}

std::vector<Pick> PicksOfEvents(const std::vector<LedgerEvent>& events) {
  std::vector<Pick> picks;
  std::map<PickKey, std::size_t> index;
  for (const LedgerEvent& e : events) {
    const PickKey key{e.day, e.time, e.course, e.runner, e.system, e.run};
    const auto found = index.find(key);
    if (e.kind == kEventMade) {
      if (found != index.end() && !picks[found->second].withdrawn) continue;
      Pick p;
      p.day = ParseDate(e.day).value_or(Date{});
      p.time = e.time;
      p.course = e.course;
      p.runner = e.runner;
      p.system = e.system;
      p.odds = e.odds;
      p.price = PriceOfText(e.price);
      p.source = e.source == "backtest" ? PickSource::kBacktest : PickSource::kLive;
      p.late = e.source == "late";
      p.runId = e.run;
      p.added = e.at;
      if (found != index.end()) {
        picks[found->second] = std::move(p);
      } else {
        index.emplace(key, picks.size());
        picks.push_back(std::move(p));
      }
      continue;
    }
    if (found == index.end()) continue;
    Pick& p = picks[found->second];
    if (e.kind == kEventWithdrawn) {
      p.withdrawn = true;
    } else if (e.kind == kEventSettled || e.kind == kEventResettled) {
      p.result = ResultOfText(e.result);
      p.position = e.position.empty() ? 0 : std::atoi(e.position.c_str());
      p.sp = PriceOfText(e.sp);
      p.settled = e.at;
    }
  }
  return picks;
}

std::vector<Pick> SortedPicks(std::vector<Pick> picks) {
  std::stable_sort(picks.begin(), picks.end(), [](const Pick& a, const Pick& b) {
    return std::tie(a.day, a.time, a.course, a.runner, a.system, a.source, a.runId) <
           std::tie(b.day, b.time, b.course, b.runner, b.system, b.source, b.runId);
  });
  return picks;
}

std::vector<Pick> PicksOfEvents(const std::vector<ChainedEvent>& events) {
  std::vector<LedgerEvent> plain;
  plain.reserve(events.size());
  for (const ChainedEvent& c : events) plain.push_back(c.event);
  return PicksOfEvents(plain);
}

std::optional<ChainedEvent> DigestEvent(const std::vector<ChainedEvent>& events, const Date& day,
                                        int offsetMinutes) {
  const std::string dayText = FormatDate(day);
  std::optional<Instant> firstOff;
  for (const ChainedEvent& c : events) {
    const LedgerEvent& e = c.event;
    if (e.kind != kEventMade || e.day != dayText || e.source == "backtest") continue;
    const auto off = OffInstant(day, e.time, offsetMinutes);
    if (off && (!firstOff || *off < *firstOff)) firstOff = off;
  }
  if (!firstOff) return std::nullopt;
  const ChainedEvent* last = nullptr;
  for (const ChainedEvent& c : events) {
    const auto at = ParseUtcText(c.event.at);
    if (!at || *at >= *firstOff) break;
    last = &c;
  }
  if (!last) return std::nullopt;
  return *last;
}

std::string DigestText(const Date& day, const std::optional<ChainedEvent>& digest) {
  if (!digest)
    return "The record holds no event before the first race of " + FormatDate(day) +
           " that it has a pick for";
  return "Trotix record before the first race of " + FormatDate(day) + ": event " +
         std::to_string(digest->event.seq) + ", " + digest->hash;
}

}  // namespace trotix
