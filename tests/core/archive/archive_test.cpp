// The archive on real SQLite files: requests recorded through a real client and replayed, the
// picks ledger, files it must refuse, and two connections writing at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <thread>

#include "archive/archive_http_client.h"
#include "archive/recording_http_client.h"
#include "archive/request_key.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "net/curl_http_client.h"
#include "support/fixture_server.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

using testing::ReadFile;
using testing::TempFolder;

constexpr Date kDay{2026, 12, 8};

TEST(RequestKey, RolesAndCredentials) {
  const Hosts hosts{"http://data.x", "http://www.x", "http://bf.x", "https://bf.x", "https://v.x"};
  const Hosts same{"http://h:1", "http://h:1", "http://h:1", "http://h:1", "http://h:1"};
  struct Case {
    const char* url;
    const Hosts* hosts;
    RequestKey key;
  };
  const Case cases[] = {
      {"http://data.x/login/trotix.php?login=me&pass=p%26w",
       &hosts,
       {"data", "/login/trotix.php", ""}},
      {"http://data.x/horse/rez.php?date=07.12.2026",
       &hosts,
       {"data", "/horse/rez.php", "date=07.12.2026"}},
      {"HTTP://WWW.X/file/tx08.12.2026.txt", &hosts, {"web", "/file/tx08.12.2026.txt", ""}},
      {"http://bf.x/betting/L.do?marketId=1&selectionId=2",
       &hosts,
       {"exchange", "/betting/L.do", "marketId=1&selectionId=2"}},
      {"https://bf.x", &hosts, {"exchange-web", "/", ""}},
      {"http://data.xy/a", &hosts, {"http://data.xy", "/a", ""}},
      {"http://a.b/c?x=1&Password=s&y=2&login=", &hosts, {"http://a.b", "/c", "x=1&y=2"}},
      {"http://h:1/file/tx.txt", &same, {"data", "/file/tx.txt", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(RequestKeyOf(c.url, *c.hosts, false), c.key) << c.url;
  EXPECT_TRUE(RequestKeyOf("http://data.x/a", hosts, true).probe);
}

// A day recorded through the real client after a failed sign-in, then replayed.
TEST(DayArchive, RecordedDayReplaysAsItWasSeen) {
  TempFolder folder;
  testing::FixtureServer vendor;
  const std::string base = vendor.Base();
  const Hosts hosts{base, base, base, base, base};
  const std::string login = base + "/login/trotix.php?login=anna&pass=s3cr%26t";
  const std::string probe = base + "/refresh/trotix3.8.txt";
  const std::string page = base + "/betting/page?marketId=1";
  vendor.Set("/refresh/trotix3.8.txt", "3.8");
  vendor.Set("/betting/page", "first");
  {
    SqliteArchive store(folder.path() / kArchiveFileName);
    SessionArchive archive(store);
    CurlHttpClient curl;
    RecordingHttpClient web(curl, archive, hosts);

    vendor.Set("/login/trotix.php", "Fail...");
    archive.BeginCommand();
    EXPECT_EQ(web.Probe(probe), ProbeResult::Present);
    EXPECT_EQ(web.Get(login).body, "Fail...");
    archive.ForgetAnswers({RequestKeyOf(probe, hosts, true), RequestKeyOf(login, hosts, false)});
    EXPECT_EQ(archive.CommitCommand(), "");
    EXPECT_TRUE(store.Days().empty()) << "nothing is kept before a sign-in succeeds";

    vendor.Set("/login/trotix.php", "the day");
    archive.BeginCommand();
    web.Probe(probe);
    web.Get(login);
    archive.KeepDay(kDay, hosts);
    EXPECT_EQ(archive.CommitCommand(), "");

    archive.BeginCommand();
    const auto answers = web.GetMany({page, base + "/missing"}, 2, {});
    EXPECT_EQ(answers[1].status, 404);
    vendor.Set("/betting/page", "second");
    web.Get(page);
    EXPECT_EQ(archive.CommitCommand(), "");
    EXPECT_EQ(store.Days(), std::vector<Date>{kDay});
  }
  // Closed: everything is in the file; the credentials are nowhere in it.
  const std::string bytes = ReadFile(folder.path() / kArchiveFileName);
  EXPECT_EQ(bytes.find("s3cr"), std::string::npos);
  EXPECT_EQ(bytes.find("anna"), std::string::npos);

  SqliteArchive store(folder.path() / kArchiveFileName);
  const auto day = store.LoadDay(kDay);
  ASSERT_TRUE(day);
  EXPECT_EQ(day->answers.size(), 5u);
  EXPECT_EQ(day->hosts.webSite, base);
  ArchiveHttpClient replay(day->answers, day->hosts,
                           [&store](long long id) { return store.Body(id); });
  const HttpAnswer signIn = replay.Get(base + "/login/trotix.php?login=x&pass=y");
  EXPECT_FALSE(signIn.failed);
  EXPECT_EQ(signIn.body, "the day") << "the failed sign-in was never kept";
  EXPECT_EQ(replay.Probe(probe), ProbeResult::Present);
  EXPECT_EQ(replay.Probe(base + "/other"), ProbeResult::Unreachable);
  // Two answers to one request come back in order, then the last again.
  for (const char* expected : {"first", "second", "second"})
    EXPECT_EQ(replay.Get(page).body, expected);
  const auto missing = replay.GetMany({base + "/missing", base + "/never"}, 8, {});
  EXPECT_TRUE(missing[0].failed);
  EXPECT_EQ(missing[0].status, 404);
  EXPECT_TRUE(missing[1].failed);
  EXPECT_EQ(missing[1].error, kNotInArchive);
  EXPECT_EQ(store.LastAnswer(kDay, RequestKeyOf(login, hosts, false)), "the day");
}

Pick APick(std::string runner, std::string system) {
  Pick p;
  p.day = kDay;
  p.time = "14:30";
  p.course = "Ascot";
  p.runner = std::move(runner);
  p.system = std::move(system);
  p.odds = "4,5";
  p.price = 4.5;
  return p;
}

TEST(DayArchive, PicksLedger) {
  TempFolder folder;
  SqliteArchive store(folder.path() / kArchiveFileName);
  SessionArchive live(store);
  const auto command = [](DayArchive& a, const std::function<void()>& work) {
    a.BeginCommand();
    work();
    EXPECT_EQ(a.CommitCommand(), "");
  };
  command(live, [&] {
    live.AddPick(APick("Dune", "MySystem"));
    live.AddPick(APick("Dune", "Best Rank"));
  });
  Pick again = APick("Dune", "MySystem");
  again.odds = "9";
  command(live, [&] { live.AddPick(again); });  // the same pick: the first one stays
  command(live, [&] { live.AddPick(APick("Sea Bird", "MySystem")); });
  // Withdrawn before the off: kept, apart.
  command(live, [&] { live.WithdrawPick(APick("Sea Bird", "MySystem"), ""); });
  // A replayed day's picks are a back-test run of their own.
  SessionArchive replay(store, kDay);
  command(replay, [&] { replay.AddPick(APick("Dune", "MySystem")); });

  auto picks = store.Picks();
  ASSERT_EQ(picks.size(), 4u);
  EXPECT_TRUE(picks[3].withdrawn);
  EXPECT_EQ(picks[3].runner, "Sea Bird");
  EXPECT_EQ(picks[0].system, "Best Rank");
  EXPECT_EQ(picks[1].odds, "4,5");
  EXPECT_EQ(picks[1].price, 4.5);
  EXPECT_EQ(picks[1].source, PickSource::kLive);
  EXPECT_EQ(picks[2].source, PickSource::kBacktest);
  EXPECT_EQ(picks[2].runId, replay.runId());
  EXPECT_GT(replay.runId(), 0);
  EXPECT_FALSE(picks[0].added.empty());

  Pick won = picks[1];
  won.result = PickResult::kWon;
  won.position = 1;
  won.sp = 4.2;
  command(live, [&] { live.Settle({won}); });
  const auto open = store.UnsettledPicks();
  EXPECT_EQ(open.size(), 2u);
  picks = store.Picks();
  EXPECT_EQ(picks[1].result, PickResult::kWon);
  EXPECT_EQ(picks[1].position, 1);
  EXPECT_EQ(picks[1].sp, 4.2);
  EXPECT_FALSE(picks[1].settled.empty());
  EXPECT_EQ(picks[0].result, PickResult::kUnsettled);
  EXPECT_EQ(picks[0].sp, std::nullopt);
}

TEST(DayArchive, EqualBodiesAreStoredOnce) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  SqliteArchive store(file);
  const std::string page(50'000, 'x');
  ArchiveWrite write;
  write.day = kDay;
  for (const char* path : {"/a", "/b", "/a"}) {
    RecordedAnswer a;
    a.key = {"data", path, ""};
    a.answer.body = page;
    a.answer.failed = false;
    write.answers.push_back(a);
  }
  store.Write(write);
  SQLite::Database db(file);
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM bodies").getInt(), 1);
  EXPECT_EQ(store.Body(store.LoadDay(kDay)->answers[2].bodyId), page);
}

// Whatever the file holds, an archive that cannot use it says so and leaves it as it was.
TEST(DayArchive, UnusableFilesAreRefusedAndLeftAlone) {
  TempFolder folder;
  const auto garbage = folder.path() / "garbage.db";
  std::ofstream(garbage, std::ios::binary) << std::string(8192, '\x5a');
  const auto foreign = folder.path() / "foreign.db";
  SQLite::Database(foreign, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
      .exec("CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine')");
  const auto newer = folder.path() / "newer.db";
  SQLite::Database(newer, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
      .exec(
          "CREATE TABLE schema_version (version INTEGER); INSERT INTO schema_version VALUES (99)");
  const auto directory = folder.path() / "directory.db";
  std::filesystem::create_directory(directory);

  for (const auto& file : {garbage, foreign, newer, directory}) {
    const bool isFile = std::filesystem::is_regular_file(file);
    const std::string before = isFile ? ReadFile(file) : "";
    try {
      SqliteArchive store(file);
      ADD_FAILURE() << file << " was opened";
    } catch (const ArchiveError& e) {
      EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
    }
    if (isFile) {
      EXPECT_EQ(ReadFile(file), before) << file;
    }
    EXPECT_FALSE(std::filesystem::exists(file.string() + "-wal")) << file;
  }
}

// Bodies go to the file as they arrive, ahead of their command. A command that never ends (the
// program killed, the command taken back) leaves only bodies no answer refers to: the day is as
// its earlier commands left it, replays from the file, and those bodies go at a later opening
// once they are old enough not to belong to another program's command under way.
TEST(DayArchive, BodiesOfACommandThatNeverEndsLeaveTheArchiveWhole) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  testing::FixtureServer vendor;
  const std::string base = vendor.Base();
  const Hosts hosts{base, base, base, base, base};
  vendor.Set("/login/trotix.php", "the day");
  vendor.Set("/betting/a", std::string(300'000, 'a'));
  vendor.Set("/betting/b", std::string(300'000, 'b'));
  vendor.Set("/betting/same", "the day");  // equal to a body the day keeps
  const auto count = [&](const char* table) {
    return SQLite::Database(file).execAndGet(std::string("SELECT count(*) FROM ") + table).getInt();
  };
  {
    SqliteArchive store(file);
    SessionArchive archive(store);
    CurlHttpClient curl;
    RecordingHttpClient web(curl, archive, hosts);
    archive.BeginCommand();
    web.Get(base + "/login/trotix.php?login=a&pass=b");
    archive.KeepDay(kDay, hosts);
    ASSERT_EQ(archive.CommitCommand(), "");
    ASSERT_EQ(count("bodies"), 1);

    archive.BeginCommand();
    bool storedOnArrival = false;
    web.GetMany(
        {base + "/betting/a", base + "/betting/b", base + "/betting/same"}, 2,
        [&](int, HttpAnswer&) { storedOnArrival = storedOnArrival || count("bodies") > 1; });
    EXPECT_TRUE(storedOnArrival) << "a body is written as it arrives";
    EXPECT_EQ(count("bodies"), 3);
    EXPECT_EQ(count("answer_packs"), 1);  // the sign-in's alone
    // The program ends here, without its command's write.
  }
  EXPECT_EQ(SQLite::Database(file).execAndGet("PRAGMA integrity_check").getString(), "ok");
  SqliteArchive store(file);  // a young orphan stays at opening
  EXPECT_EQ(count("bodies"), 3);
  const auto day = store.LoadDay(kDay);
  ASSERT_TRUE(day);
  ASSERT_EQ(day->answers.size(), 1u);
  ArchiveHttpClient replay(day->answers, day->hosts,
                           [&store](long long id) { return store.Body(id); });
  EXPECT_EQ(replay.Get(base + "/login/trotix.php?login=x&pass=y").body, "the day");
  EXPECT_EQ(replay.Get(base + "/betting/a").error, kNotInArchive);

  EXPECT_EQ(store.RemoveOrphanBodies(std::chrono::hours(1)), 0);
  EXPECT_EQ(store.RemoveOrphanBodies(std::chrono::seconds(0)), 2);
  EXPECT_EQ(count("bodies"), 1);
  EXPECT_EQ(replay.Get(base + "/login/trotix.php?login=x&pass=y").body, "the day");
  // A body gone from under an answer is a failed answer, never an empty page.
  ArchiveHttpClient broken(day->answers, day->hosts, [](long long) { return std::nullopt; });
  const HttpAnswer lost = broken.Get(base + "/login/trotix.php?login=x&pass=y");
  EXPECT_TRUE(lost.failed);
  EXPECT_EQ(lost.error, kBodyNotReadable);
}

unsigned ModeOf(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The archive holds the picks ledger: the file and its -wal and -shm files are the owner's
// alone, whatever the process's mask; an older file readable by all is narrowed when opened.
TEST(DayArchive, OwnerOnlyFiles) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  const mode_t mask = ::umask(0);
  {
    SqliteArchive store(file);
    SessionArchive archive(store);
    archive.KeepDay(kDay, {});
    archive.BeginCommand();
    archive.AddPick(APick("Runner", "A"));
    EXPECT_EQ(archive.CommitCommand(), "");
    for (const char* suffix : {"", "-wal", "-shm"}) {
      ASSERT_TRUE(std::filesystem::exists(file.string() + suffix)) << suffix;
      EXPECT_EQ(ModeOf(file.string() + suffix), 0600u) << suffix;
    }
  }
  ::chmod(file.c_str(), 0644);
  EXPECT_EQ(SqliteArchive(file).Picks().size(), 1u);
  EXPECT_EQ(ModeOf(file), 0600u);
  ::umask(mask);
}

// An archive that may not be written (the file or its folder read-only) is still read whole,
// stored days and picks alike, and nothing is written to it. The superuser may write whatever
// the mode bits say, so the archive goes by the bits as well as by access(2): chmod stands for a
// file of another user here. A -shm file that cannot be made (a folder of that name, which stops
// the superuser too) is done without; one a writer keeps is read through.
TEST(DayArchive, ReadOnlyArchiveIsReadAndNothingIsWritten) {
  enum class Case { kReadOnlyFile, kReadOnlyFolder, kNoRoomForShm, kOpenedByAWriter };
  for (const Case c :
       {Case::kReadOnlyFile, Case::kReadOnlyFolder, Case::kNoRoomForShm, Case::kOpenedByAWriter}) {
    TempFolder folder;
    const auto file = folder.path() / kArchiveFileName;
    auto writer = std::make_unique<SqliteArchive>(file);
    {
      SessionArchive archive(*writer);
      archive.KeepDay(kDay, {});
      archive.BeginCommand();
      archive.Record({{"data", "/a", ""}, {200, "day", "", false, false, {}}, {}, "t"});
      archive.AddPick(APick("Runner", "A"));
      archive.AddPick(APick("Other", "A"));
      ASSERT_EQ(archive.CommitCommand(), "");
    }
    // A writer that stays keeps the last answers in its -wal file, which a reader needs its
    // -shm file for.
    if (c != Case::kOpenedByAWriter) writer.reset();
    if (c == Case::kNoRoomForShm) std::filesystem::create_directory(file.string() + "-shm");
    if (c == Case::kReadOnlyFile || c == Case::kOpenedByAWriter) ::chmod(file.c_str(), 0444);
    if (c == Case::kReadOnlyFolder || c == Case::kNoRoomForShm)
      ::chmod(folder.path().c_str(), 0555);
    const std::string before = ReadFile(file);
    {
      SqliteArchive store(file);
      EXPECT_TRUE(store.readOnly()) << int(c);
      EXPECT_EQ(store.Days(), std::vector<Date>{kDay}) << int(c);
      EXPECT_EQ(store.Picks().size(), 2u) << int(c);
      ASSERT_TRUE(store.LoadDay(kDay)) << int(c);
      EXPECT_EQ(store.LoadDay(kDay)->answers.size(), 1u) << int(c);
      ArchiveWrite write;
      write.picks.push_back({PickChange::kAdd, APick("Third", "A"), {}});
      EXPECT_EQ(store.Write(write), 0) << int(c);
      EXPECT_EQ(store.Picks().size(), 2u) << int(c) << ": nothing recorded";
    }
    writer.reset();
    ::chmod(folder.path().c_str(), 0700);
    if (c != Case::kOpenedByAWriter) {
      EXPECT_EQ(ReadFile(file), before) << int(c);
    }
    ::chmod(file.c_str(), 0600);
    EXPECT_FALSE(SqliteArchive(file).readOnly()) << int(c);
  }
}

// A replay's reads: held, they see the file as it stood at the first of them, whatever another
// connection commits meanwhile; a write of the same connection ends the hold rather than fails.
// A connection opened to read writes nothing, even to a file it could write.
TEST(DayArchive, HeldReadsSeeOneStateAndAReaderWritesNothing) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  SqliteArchive writer(file);
  const auto keepDay = [&](const Date& day) {
    SessionArchive archive(writer);
    archive.KeepDay(day, {});
    archive.BeginCommand();
    archive.Record({{"data", "/a", ""}, {200, "day", "", false, false, {}}, {}, "t"});
    EXPECT_EQ(archive.CommitCommand(), "");
  };
  keepDay(kDay);
  const auto reader = SqliteArchive::OpenToRead(file);
  EXPECT_TRUE(reader->readOnly());
  reader->BeginReads();
  EXPECT_EQ(reader->Days(), std::vector<Date>{kDay});
  keepDay(AddDays(kDay, 1));
  EXPECT_EQ(reader->Days(), std::vector<Date>{kDay}) << "one state while held";
  reader->EndReads();
  EXPECT_EQ(reader->Days().size(), 2u);

  ArchiveWrite write;
  write.picks.push_back({PickChange::kAdd, APick("Runner", "A"), {}});
  EXPECT_EQ(reader->Write(write), 0);
  EXPECT_TRUE(writer.Picks().empty()) << "the reader wrote";

  writer.BeginReads();
  EXPECT_EQ(writer.Days().size(), 2u);
  writer.Write(write);
  EXPECT_EQ(writer.Picks().size(), 1u);
  writer.EndReads();
  EXPECT_EQ(reader->Picks().size(), 1u) << "the write was committed";

  EXPECT_THROW(SqliteArchive::OpenToRead(folder.path() / "none.db"), ArchiveError);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "none.db"));
}

// Two programs on one file: every command of both is kept, none fails on the other's lock.
TEST(DayArchive, TwoConnectionsWriteAtOnce) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  SqliteArchive first(file), second(file);
  constexpr int kCommands = 60;
  const auto writer = [&](SqliteArchive& store, const std::string& system) {
    SessionArchive archive(store);
    archive.KeepDay(kDay, {});
    for (int i = 0; i < kCommands; ++i) {
      archive.BeginCommand();
      RecordedAnswer a;
      a.key = {"exchange", "/page", system + std::to_string(i)};
      a.answer.body = std::string(20'000, static_cast<char>('a' + i % 26)) + system;
      archive.Record(a);
      archive.AddPick(APick("Runner " + std::to_string(i), system));
      EXPECT_EQ(archive.CommitCommand(), "");
    }
  };
  std::thread other(writer, std::ref(second), "B");
  writer(first, "A");
  other.join();
  EXPECT_EQ(first.Picks().size(), 2u * kCommands);
  EXPECT_EQ(second.LoadDay(kDay)->answers.size(), 2u * kCommands);
}

// A program that opens a new file while another is still making it waits for it, as for any
// other lock (it once gave up at once with "database is locked").
TEST(DayArchive, OpeningWaitsForAnotherProgramMakingTheFile) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  SQLite::Database maker(file.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
  maker.exec("BEGIN IMMEDIATE");
  std::thread done([&maker] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    maker.exec("COMMIT");
  });
  std::string error;
  try {
    SqliteArchive store(file);
    ArchiveWrite write;
    write.day = kDay;
    store.Write(write);
  } catch (const ArchiveError& e) {
    error = e.what();
  }
  done.join();
  EXPECT_EQ(error, "");
  EXPECT_EQ(SqliteArchive(file).Days(), std::vector<Date>{kDay});
}

}  // namespace
}  // namespace trotix
