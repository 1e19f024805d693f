#pragma once
// One event of the picks ledger and its canonical text: the JSON object of its fields with the
// keys sorted, no whitespace, UTF-8 as it is (no \u escapes beyond control characters), every
// number a string as stored ("2.80") except `seq` and `run`. Any JSON library rebuilds the same
// text from an exported event, so anyone can check the chain's hashes.
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace trotix {

struct LedgerEvent {
  long long seq = 0;  // from 1, in the order appended
  std::string kind;   // "made", "withdrawn", "settled", "resettled"
  std::string at;     // UTC, "2026-12-08T10:15:02.123Z"
  std::string day;    // dd.mm.yyyy
  std::string time, course, runner, system;
  std::string source;  // "live", "late" or "backtest"
  long long run = 0;   // the back-test run, 0 for live and late picks
  std::string price;   // the win price when picked, "" for none
  std::string odds;    // the report's "Odds" text
  std::string result;  // "won", "placed", "unplaced", "void"; "" unless settled
  std::string position, sp;
  bool operator==(const LedgerEvent&) const = default;
};

// The `prev` of the first event.
inline const std::string kChainStart(64, '0');

// An event with its place in the chain.
struct ChainedEvent {
  LedgerEvent event;
  std::string prev, hash;  // lower-case hex
};

inline constexpr const char* kEventMade = "made";
inline constexpr const char* kEventWithdrawn = "withdrawn";
inline constexpr const char* kEventSettled = "settled";
inline constexpr const char* kEventResettled = "resettled";

nlohmann::json EventJson(const LedgerEvent& event);
// The event of an exported object; none when a key is missing or of the wrong type.
std::optional<LedgerEvent> EventOfJson(const nlohmann::json& object);
// The canonical text of any JSON value, as the hashes take it.
std::string CanonicalText(const nlohmann::json& value);
std::string CanonicalText(const LedgerEvent& event);

// The text with every byte sequence that is no UTF-8 replaced by U+FFFD: a JSON text is UTF-8.
std::string ValidUtf8(std::string_view text);
// "2.80" for a price or SP as the ledger keeps it; "" for none.
std::string PriceText(const std::optional<double>& price);
std::optional<double> PriceOfText(std::string_view text);

}  // namespace trotix
