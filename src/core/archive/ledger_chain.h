#pragma once
// The picks ledger as a hash chain: each event's hash is SHA-256 over the previous event's hash
// and its own canonical text, so changing, dropping or reordering any event breaks every hash
// after it. Also what the chain says about the picks: their state after every event.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <openssl/types.h>

#include "archive/day_archive.h"
#include "archive/ledger_event.h"
#include "text/dates.h"

namespace trotix {

// SHA-256 in lower-case hex of `prev` followed by `canonical`.
std::string ChainHash(std::string_view prev, std::string_view canonical);
// The same for many events: the digest and its context are fetched once.
class ChainHasher {
 public:
  ChainHasher();
  ~ChainHasher();
  ChainHasher(const ChainHasher&) = delete;
  ChainHasher& operator=(const ChainHasher&) = delete;
  std::string Hash(std::string_view prev, std::string_view canonical);

 private:
  EVP_MD* md_;
  EVP_MD_CTX* ctx_;
};
// Bytes as lower-case hex, and lower-case hex as its bytes (none for other text): a hash is
// stored as its 32 bytes.
std::string HexText(std::string_view bytes);
std::optional<std::string> BytesOfHex(std::string_view hex);
// The event appended after `prev`.
ChainedEvent Chain(LedgerEvent event, const std::string& prev);
ChainedEvent Chain(LedgerEvent event, const std::string& prev, ChainHasher& hasher);

// What a check of the chain found.
struct ChainCheck {
  long long events = 0;
  bool intact = true;
  long long badEvent = 0;  // the first event that does not match: its place in the chain, from 1
  std::string why;
  long long migrated = 0;  // events an older archive's picks became, from the first on
};

// Every event in order: `seq` counts from 1, each `prev` is the hash before it, each hash is
// its own. Stops at the first that does not match.
ChainCheck VerifyChain(const std::vector<ChainedEvent>& events);
// One line of an export: {"event": {…}, "prev": "…", "hash": "…"}, no newline.
std::string ExportLine(const ChainedEvent& event);
// An exported file checked on its own: each line read as JSON, its event's canonical text
// rebuilt. A line that is no such object is the event that does not match.
ChainCheck VerifyExport(std::string_view text);
// "Record: 120 events, chain intact", or where it breaks.
std::string ChainCheckText(const ChainCheck& check);

// The picks as the events leave them, in the order first made. A pick is named by day, time,
// course, runner, system and run; a withdrawn pick made again is live or late anew; the latest
// settlement counts.
std::vector<Pick> PicksOfEvents(const std::vector<LedgerEvent>& events);
// The picks by day, time, course, runner, system; live first.
std::vector<Pick> SortedPicks(std::vector<Pick> picks);
// The picks of the chain's events, sorted.
std::vector<Pick> PicksOfEvents(const std::vector<ChainedEvent>& events);
// The source an event gives a pick: "late" for a late live pick.
std::string EventSource(const Pick& pick);

// The event a bettor publishes before racing on `day`: the last one in the chain before the
// first event made at or after the day's first off (the earliest race the ledger holds for that
// day, race times `offsetMinutes` ahead of UTC), so everything up to it was fixed before the
// races. None when the ledger holds no live pick of that day or no event came before its off.
std::optional<ChainedEvent> DigestEvent(const std::vector<ChainedEvent>& events, const Date& day,
                                        int offsetMinutes);

// The line to publish: "Trotix record before the first race of 09.12.2026: event 57, 3fa2…",
// or why there is none.
std::string DigestText(const Date& day, const std::optional<ChainedEvent>& digest);

}  // namespace trotix
