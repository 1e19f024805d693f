// The picks ledger's chain: canonical texts any JSON library rebuilds, a chain that names the
// first event bent, exports checked on their own, digests, and old archives moved into the chain.
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <nlohmann/json.hpp>

#include "archive/ledger_chain.h"
#include "archive/ledger_event.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "support/temp_folder.h"
#include "text/instants.h"

namespace trotix {
namespace {

using testing::TempFolder;

LedgerEvent AnEvent(long long seq, const std::string& kind, const std::string& runner) {
  LedgerEvent e;
  e.seq = seq;
  e.kind = kind;
  e.at = "2026-12-08T08:15:02.123Z";
  e.day = "08.12.2026";
  e.time = "14:30";
  e.course = "Ascot";
  e.runner = runner;
  e.system = "MySystem";
  e.source = "live";
  e.price = "2.80";
  e.odds = "2,8";
  return e;
}

std::vector<ChainedEvent> ChainOf(std::vector<LedgerEvent> events) {
  std::vector<ChainedEvent> chain;
  std::string prev = kChainStart;
  for (LedgerEvent& e : events) {
    chain.push_back(Chain(std::move(e), prev));
    prev = chain.back().hash;
  }
  return chain;
}

TEST(LedgerEvent, CanonicalTextIsTheJsonLibrarysSortedCompactText) {
  const std::string texts[] = {
      "Plain",
      "King's \"Meadow\"",
      "back\\slash/slash",
      "Ёлка на льду",                        // Cyrillic stays raw
      "Zoë \xE2\x80\x99n \xF0\x9F\x90\x8E",  // an apostrophe and a horse beyond the BMP
      "tab\there\nline\r\x01\x1f\x7f",       // control characters escaped, DEL raw
      "",
  };
  for (const std::string& t : texts) {
    LedgerEvent e = AnEvent(7, kEventSettled, t);
    e.course = t;
    e.result = "won";
    e.sp = "3.80";
    e.run = 12;
    const std::string canonical = CanonicalText(e);
    EXPECT_EQ(canonical, nlohmann::json(EventJson(e)).dump()) << t;
    // Read back, it is the same event.
    EXPECT_EQ(EventOfJson(nlohmann::json::parse(canonical)), e) << t;
    EXPECT_EQ(canonical.find(' ') == std::string::npos, t.find(' ') == std::string::npos) << t;
  }
  EXPECT_EQ(
      CanonicalText(AnEvent(1, kEventMade, "Dune")),
      R"({"at":"2026-12-08T08:15:02.123Z","course":"Ascot","day":"08.12.2026",)"
      R"("kind":"made","odds":"2,8","position":"","price":"2.80","result":"","run":0,)"
      R"("runner":"Dune","seq":1,"source":"live","sp":"","system":"MySystem","time":"14:30"})");
  EXPECT_EQ(ValidUtf8("ok \xC3\xA9 \xFF\xC3 end"), "ok \xC3\xA9 \xEF\xBF\xBD\xEF\xBF\xBD end");
  EXPECT_EQ(PriceText(2.8), "2.80");
  EXPECT_EQ(PriceText(std::nullopt), "");
}

TEST(LedgerChain, HashIsSha256OfPrevAndCanonicalText) {
  // The SHA-256 of "abc", as published with the standard.
  EXPECT_EQ(ChainHash("", "abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(ChainHash("a", "bc"), ChainHash("ab", "c"));
  const auto chain = ChainOf({AnEvent(1, kEventMade, "Dune")});
  EXPECT_EQ(chain[0].prev, std::string(64, '0'));
  EXPECT_EQ(chain[0].hash, ChainHash(chain[0].prev, CanonicalText(chain[0].event)));
}

TEST(LedgerChain, EveryBentEventIsNamed) {
  const auto intact = ChainOf({AnEvent(1, kEventMade, "Dune"), AnEvent(2, kEventMade, "Sea Bird"),
                               AnEvent(3, kEventMade, "Marengo"), AnEvent(4, kEventMade, "Oak")});
  EXPECT_TRUE(VerifyChain(intact).intact);
  EXPECT_EQ(VerifyChain(intact).events, 4);
  struct Case {
    const char* name;
    std::function<void(std::vector<ChainedEvent>&)> bend;
    long long named;
  };
  const Case cases[] = {
      {"a field changed", [](auto& c) { c[1].event.sp = "9.00"; }, 2},
      {"an event dropped", [](auto& c) { c.erase(c.begin() + 1); }, 2},
      {"two events swapped", [](auto& c) { std::swap(c[1], c[2]); }, 2},
      {"renumbered after a drop",
       [](auto& c) {
         c.erase(c.begin() + 2);
         c[2].event.seq = 3;
       },
       3},
      {"hash rewritten for a changed field",
       [](auto& c) {
         c[0].event.runner = "Dun";
         c[0].hash = ChainHash(c[0].prev, CanonicalText(c[0].event));
       },
       2},
  };
  for (const Case& c : cases) {
    auto chain = intact;
    c.bend(chain);
    const ChainCheck check = VerifyChain(chain);
    EXPECT_FALSE(check.intact) << c.name;
    EXPECT_EQ(check.badEvent, c.named) << c.name;
    EXPECT_NE(ChainCheckText(check).find("broken at event " + std::to_string(c.named)),
              std::string::npos)
        << ChainCheckText(check);
  }
}

TEST(LedgerChain, ExportVerifiesAloneAndOneChangedByteNamesItsEvent) {
  LedgerEvent settled = AnEvent(3, kEventSettled, "Ёлка");
  settled.result = "won";
  settled.position = "1";
  settled.sp = "3.80";
  const auto chain =
      ChainOf({AnEvent(1, kEventMade, "Ёлка"), AnEvent(2, kEventMade, "Sea Bird"), settled});
  std::string text;
  std::vector<std::size_t> lineStart;
  for (const ChainedEvent& e : chain) {
    lineStart.push_back(text.size());
    text += ExportLine(e) + "\n";
  }
  EXPECT_TRUE(VerifyExport(text).intact);
  EXPECT_EQ(VerifyExport(text).events, 3);
  // One byte of each line in turn: inside the event, its prev and its hash.
  for (std::size_t line = 0; line < chain.size(); ++line) {
    for (const char* inside : {"\"runner\":\"", "\"prev\": \"", "\"hash\": \""}) {
      std::string bent = text;
      const std::size_t at = bent.find(inside, lineStart[line]) + std::strlen(inside);
      bent[at] = bent[at] == 'x' ? 'y' : 'x';
      const ChainCheck check = VerifyExport(bent);
      EXPECT_FALSE(check.intact) << line << " " << inside;
      EXPECT_EQ(check.badEvent, static_cast<long long>(line) + 1) << line << " " << inside;
      EXPECT_EQ(check.events, 3);
    }
  }
  // A broken line is named too.
  std::string cut = text;
  cut.erase(lineStart[1] + 5, 1);
  EXPECT_EQ(VerifyExport(cut).badEvent, 2);
}

TEST(LedgerChain, PicksFollowTheirLatestEvent) {
  LedgerEvent settled = AnEvent(3, kEventSettled, "Dune");
  settled.result = "unplaced";
  LedgerEvent resettled = AnEvent(4, kEventResettled, "Dune");
  resettled.result = "won";
  resettled.position = "1";
  resettled.sp = "3.80";
  LedgerEvent late = AnEvent(5, kEventMade, "Oak");
  late.source = "late";
  const auto picks =
      PicksOfEvents({AnEvent(1, kEventMade, "Dune"), AnEvent(2, kEventMade, "Sea Bird"), settled,
                     resettled, late, AnEvent(6, kEventWithdrawn, "Sea Bird"),
                     AnEvent(7, kEventMade, "Dune")});  // made twice: one pick
  ASSERT_EQ(picks.size(), 3u);
  EXPECT_EQ(picks[0].result, PickResult::kWon);
  EXPECT_EQ(picks[0].position, 1);
  EXPECT_EQ(picks[0].sp, 3.8);
  EXPECT_EQ(picks[0].price, 2.8);
  EXPECT_TRUE(picks[1].withdrawn);
  EXPECT_TRUE(picks[2].late);
  EXPECT_FALSE(picks[0].late || picks[0].withdrawn);
}

TEST(LedgerChain, DigestIsTheLastEventBeforeTheDaysFirstOff) {
  // Race times in Moscow time: 14:30 is 11:30 UTC.
  LedgerEvent early = AnEvent(1, kEventMade, "Dune");
  early.at = "2026-12-08T09:00:00.000Z";
  LedgerEvent other = AnEvent(2, kEventMade, "Oak");
  other.day = "07.12.2026";
  other.at = "2026-12-08T11:29:59.999Z";
  LedgerEvent atTheOff = AnEvent(3, kEventMade, "Sea Bird");
  atTheOff.time = "16:00";
  atTheOff.at = "2026-12-08T11:30:00.000Z";
  const auto chain = ChainOf({early, other, atTheOff});
  const auto digest = DigestEvent(chain, {2026, 12, 8}, kMoscowOffsetMinutes);
  ASSERT_TRUE(digest);
  EXPECT_EQ(digest->event.seq, 2);
  EXPECT_EQ(digest->hash, chain[1].hash);
  // Race times in UTC: the first off is 14:30 UTC, after every event.
  EXPECT_EQ(DigestEvent(chain, {2026, 12, 8}, 0)->event.seq, 3);
  EXPECT_FALSE(DigestEvent(chain, {2026, 12, 9}, kMoscowOffsetMinutes)) << "no pick that day";
}

// The released first schema, as archives of the current release hold it.
constexpr const char* kFirstSchema = R"sql(
CREATE TABLE schema_version (version INTEGER NOT NULL);
INSERT INTO schema_version VALUES (1);
CREATE TABLE days (
  day TEXT PRIMARY KEY,
  data_server TEXT NOT NULL, web_site TEXT NOT NULL, exchange_site TEXT NOT NULL,
  exchange_web TEXT NOT NULL, video_host TEXT NOT NULL,
  first_signed_in TEXT NOT NULL);
CREATE TABLE bodies (
  id INTEGER PRIMARY KEY, hash INTEGER NOT NULL, size INTEGER NOT NULL, body BLOB NOT NULL);
CREATE INDEX bodies_by_hash ON bodies (hash);
CREATE TABLE answers (
  id INTEGER PRIMARY KEY,
  day TEXT NOT NULL REFERENCES days (day),
  role TEXT NOT NULL, path TEXT NOT NULL, query TEXT NOT NULL,
  probe INTEGER,
  status INTEGER NOT NULL, failed INTEGER NOT NULL, error TEXT NOT NULL,
  body_id INTEGER REFERENCES bodies (id),
  arrived TEXT NOT NULL);
CREATE INDEX answers_by_day ON answers (day, id);
CREATE TABLE runs (
  id INTEGER PRIMARY KEY, kind TEXT NOT NULL, day TEXT NOT NULL, started TEXT NOT NULL);
CREATE TABLE picks (
  id INTEGER PRIMARY KEY,
  day TEXT NOT NULL, time TEXT NOT NULL, course TEXT NOT NULL, runner TEXT NOT NULL,
  system TEXT NOT NULL, odds TEXT NOT NULL, price REAL,
  source TEXT NOT NULL CHECK (source IN ('live', 'backtest')),
  run_id INTEGER NOT NULL DEFAULT 0,
  added TEXT NOT NULL,
  result TEXT CHECK (result IN ('won', 'placed', 'unplaced', 'void')),
  position INTEGER, sp REAL, settled TEXT,
  UNIQUE (day, time, course, runner, system, source, run_id));
CREATE INDEX picks_unsettled ON picks (day) WHERE result IS NULL;
INSERT INTO picks (day, time, course, runner, system, odds, price, source, run_id, added,
                   result, position, sp, settled) VALUES
  ('2026-12-07', '15:10', 'Ascot', 'Sea Bird', 'Best Rank', '7', 7.0, 'live', 0,
   '2026-12-07T08:00:00.000Z', 'won', 1, 6.5, '2026-12-07T20:00:00.000Z'),
  ('2026-12-07', '14:00', 'Ascot', 'Dune', 'MySystem', '4,5', NULL, 'live', 0,
   '2026-12-07T09:00:00.000Z', NULL, NULL, NULL, NULL),
  ('2026-12-07', '14:00', 'Ascot', 'Oak', 'Best Rank', '3', 3.0, 'live', 0,
   '2026-12-07T09:30:00.000Z', 'unplaced', NULL, NULL, '2026-12-07T19:00:00.000Z');
)sql";

TEST(LedgerArchive, CurrentReleaseArchiveMovesIntoTheChain) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  {
    SQLite::Database db(file, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(kFirstSchema);
  }
  SqliteArchive store(file);
  const auto events = store.LedgerEvents();
  ASSERT_EQ(events.size(), 5u);
  // Made in stored order, each when it was added; then the settlements in the order settled.
  const std::pair<const char*, const char*> expected[] = {
      {"made", "2026-12-07T08:00:00.000Z"},    {"made", "2026-12-07T09:00:00.000Z"},
      {"made", "2026-12-07T09:30:00.000Z"},    {"settled", "2026-12-07T19:00:00.000Z"},
      {"settled", "2026-12-07T20:00:00.000Z"},
  };
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].event.kind, expected[i].first) << i;
    EXPECT_EQ(events[i].event.at, expected[i].second) << i;
  }
  EXPECT_EQ(events[4].event.runner, "Sea Bird");
  EXPECT_EQ(events[4].event.sp, "6.50");
  EXPECT_EQ(events[1].event.price, "");
  // Each prev is the hash of the row before, so none is kept.
  EXPECT_EQ(
      store.database().execAndGet("SELECT count(*) FROM ledger WHERE prev IS NOT NULL").getInt(),
      0);
  const ChainCheck check = store.CheckLedger();
  EXPECT_TRUE(check.intact);
  EXPECT_EQ(check.migrated, 5);
  EXPECT_NE(ChainCheckText(check).find("the chain began there"), std::string::npos);

  const auto picks = store.Picks();
  ASSERT_EQ(picks.size(), 3u);
  EXPECT_EQ(picks[0].runner, "Dune");
  EXPECT_EQ(picks[0].result, PickResult::kUnsettled);
  EXPECT_EQ(picks[2].result, PickResult::kWon);
  EXPECT_EQ(picks[2].sp, 6.5);
  EXPECT_EQ(store.UnsettledPicks().size(), 1u);
}

// What a bettor could do to the file with sqlite3: each is named by the check, or leaves the
// picks as they were.
TEST(LedgerArchive, BendingTheFileWithSqlIsNamed) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  struct Case {
    const char* name;
    const char* sql;
    long long named;  // 0: the chain stays intact and the picks unchanged
  };
  const Case cases[] = {
      {"a loser made a winner", "UPDATE ledger SET result = 'won' WHERE seq = 4", 4},
      {"a losing pick deleted", "DELETE FROM ledger WHERE seq = 2", 2},
      {"two rows swapped",
       "UPDATE ledger SET seq = -1 WHERE seq = 2; UPDATE ledger SET seq = 2 WHERE seq = 3; "
       "UPDATE ledger SET seq = 3 WHERE seq = -1",
       2},
      {"a day moved", "UPDATE ledger SET day = '09.12.2026' WHERE seq = 1", 1},
      {"a late pick made live", "UPDATE ledger SET source = 'live' WHERE seq = 3", 3},
      {"a prev written out", "UPDATE ledger SET prev = hash WHERE seq = 3", 3},
      {"a hash replaced by the one before",
       "UPDATE ledger SET hash = (SELECT hash FROM ledger WHERE seq = 1) WHERE seq = 2", 2},
      {"a missing race noted", "INSERT INTO result_misses VALUES ('2026-12-08', '1', 'X', '')", 0},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(file);
    std::vector<Pick> before;
    {
      SqliteArchive store(file);
      SessionArchive live(store);
      Pick a, b, late;
      for (Pick* p : {&a, &b, &late}) {
        p->day = {2026, 12, 8};
        p->time = "14:30";
        p->course = "Ascot";
        p->system = "MySystem";
      }
      a.runner = "Dune";
      b.runner = "Sea Bird";
      late.runner = "Oak";
      late.late = true;
      live.BeginCommand();
      live.AddPick(a);
      live.AddPick(b);
      live.AddPick(late);
      b.result = PickResult::kUnplaced;
      live.Settle({b});
      ASSERT_EQ(live.CommitCommand(), "");
      before = store.Picks();
    }
    {
      SQLite::Database db(file, SQLite::OPEN_READWRITE);
      // The ledger refuses changes until its guards are dropped.
      EXPECT_THROW(db.exec("UPDATE ledger SET runner = 'x'"), SQLite::Exception);
      EXPECT_THROW(db.exec("DELETE FROM ledger"), SQLite::Exception);
      db.exec("DROP TRIGGER ledger_no_update; DROP TRIGGER ledger_no_delete");
      db.exec(c.sql);
    }
    SqliteArchive store(file);
    const ChainCheck check = store.CheckLedger();
    if (c.named == 0) {
      EXPECT_TRUE(check.intact) << c.name;
      const auto after = store.Picks();
      ASSERT_EQ(after.size(), before.size()) << c.name;
      for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].result, before[i].result) << c.name;
    } else {
      EXPECT_FALSE(check.intact) << c.name;
      EXPECT_EQ(check.badEvent, c.named) << c.name << ": " << check.why;
    }
  }
}

}  // namespace
}  // namespace trotix
