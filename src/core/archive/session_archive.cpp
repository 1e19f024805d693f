#include "archive/session_archive.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <utility>

namespace trotix {

std::string UtcNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(millis));
  return buf;
}

const char* PickSourceName(PickSource source) {
  return source == PickSource::kBacktest ? "backtest" : "live";
}

const char* PickResultName(PickResult result) {
  switch (result) {
    case PickResult::kWon:
      return "won";
    case PickResult::kPlaced:
      return "placed";
    case PickResult::kUnplaced:
      return "unplaced";
    case PickResult::kVoid:
      return "void";
    case PickResult::kUnsettled:
      break;
  }
  return "unsettled";
}

SessionArchive::SessionArchive(SqliteArchive& store)
    : store_(store), replay_(false), recording_(true), source_(PickSource::kLive) {}

SessionArchive::SessionArchive(SqliteArchive& store, const Date& replayedDay)
    : store_(store),
      replay_(true),
      recording_(false),
      source_(PickSource::kBacktest),
      replayedDay_(replayedDay) {}

void SessionArchive::Note(const ArchiveError& e) {
  error_ = e.what();
}

void SessionArchive::BeginCommand() {
  std::lock_guard lock(mutex_);
  if (marks_.empty()) owner_ = std::this_thread::get_id();
  marks_.emplace_back(answers_.size(), picks_.size());
  partMarks_.push_back({races_.size(), joined_.size(), partsDays_.size()});
}

void SessionArchive::RollbackCommand() {
  std::lock_guard lock(mutex_);
  if (marks_.empty()) return;
  const auto [answers, picks] = marks_.back();
  marks_.pop_back();
  if (marks_.empty()) owner_ = std::thread::id();
  if (answers_.size() > answers) answers_.resize(answers);
  if (picks_.size() > picks) picks_.resize(picks);
  if (!partMarks_.empty()) {
    const auto [races, joined, days] = partMarks_.back();
    partMarks_.pop_back();
    races_.resize(std::min(races, races_.size()));
    joined_.resize(std::min(joined, joined_.size()));
    partsDays_.resize(std::min(days, partsDays_.size()));
  }
}

std::string SessionArchive::CommitCommand() {
  {
    std::lock_guard lock(mutex_);
    if (!marks_.empty()) marks_.pop_back();
    if (!partMarks_.empty()) partMarks_.pop_back();
    if (!marks_.empty()) return {};
    owner_ = std::thread::id();
  }
  ArchiveWrite write;
  {
    std::lock_guard lock(mutex_);
    // Before the sign-in succeeds the answers wait: they may belong to no day at all.
    if (day_) {
      write.day = day_;
      write.hosts = hosts_;
      write.answers.swap(answers_);
    }
  }
  if (dayWritten_ && write.answers.empty()) write.day.reset();
  write.picks.swap(picks_);
  write.misses.swap(misses_);
  write.found.swap(found_);
  write.races.swap(races_);
  write.joined.swap(joined_);
  write.partsDays.swap(partsDays_);
  if (replay_ && runId_ == 0 && !write.picks.empty()) write.newRun = replayedDay_;
  try {
    if (const long long run = store_.Write(write); run != 0) runId_ = run;
    if (write.day) dayWritten_ = true;
    reported_ = false;
  } catch (const ArchiveError& e) {
    // Kept for the next command: a busy or full disk may clear.
    std::lock_guard lock(mutex_);
    answers_.insert(answers_.begin(), std::make_move_iterator(write.answers.begin()),
                    std::make_move_iterator(write.answers.end()));
    picks_.insert(picks_.begin(), std::make_move_iterator(write.picks.begin()),
                  std::make_move_iterator(write.picks.end()));
    misses_.insert(misses_.begin(), write.misses.begin(), write.misses.end());
    found_.insert(found_.begin(), write.found.begin(), write.found.end());
    races_.insert(races_.begin(), std::make_move_iterator(write.races.begin()),
                  std::make_move_iterator(write.races.end()));
    joined_.insert(joined_.begin(), write.joined.begin(), write.joined.end());
    partsDays_.insert(partsDays_.begin(), write.partsDays.begin(), write.partsDays.end());
    Note(e);
  }
  if (error_.empty() || reported_) {
    error_.clear();
    return {};
  }
  reported_ = true;
  return std::exchange(error_, {});
}

void SessionArchive::Record(RecordedAnswer answer) {
  if (!recording_) return;
  if (!answer.key.probe && answer.bodyId == 0) {
    if (const long long id = StoreBody(answer.answer.body); id != 0) {
      answer.bodyId = id;
      std::string().swap(answer.answer.body);
    }
  }
  std::lock_guard lock(mutex_);
  answers_.push_back(std::move(answer));
}

long long SessionArchive::StoreBody(const std::string& body) {
  // The connection belongs to the command's thread; answers of a day not yet signed in may
  // belong to no day at all, and wait with the command as before.
  if (!recording_ || owner_.load() != std::this_thread::get_id()) return 0;
  {
    std::lock_guard lock(mutex_);
    if (!day_) return 0;
  }
  try {
    return store_.StoreBody(body);
  } catch (const ArchiveError& e) {
    Note(e);  // kept in memory with its answer, for the command's own write
    return 0;
  }
}

std::optional<std::string> SessionArchive::ReadBody(long long id) {
  return Read<std::optional<std::string>>([&] { return store_.Body(id); }, std::nullopt);
}

void SessionArchive::KeepDay(const Date& day, const Hosts& hosts) {
  std::lock_guard lock(mutex_);
  if (!recording_) {
    answers_.clear();
    return;
  }
  if (day_) return;  // the first sign-in names the day
  day_ = day;
  hosts_ = hosts;
}

void SessionArchive::ForgetAnswers(const std::vector<RequestKey>& keys) {
  std::lock_guard lock(mutex_);
  if (day_) return;  // a kept day's answers are what the session saw
  std::erase_if(answers_, [&](const RecordedAnswer& a) {
    return std::find(keys.begin(), keys.end(), a.key) != keys.end();
  });
}

template <typename T, typename F>
T SessionArchive::Read(F&& read, T fallback) {
  try {
    return read();
  } catch (const ArchiveError& e) {
    Note(e);
    return fallback;
  }
}

std::string SessionArchive::LastAnswer(const Date& day, const RequestKey& key) {
  return Read<std::string>([&] { return store_.LastAnswer(day, key); });
}

void SessionArchive::Stamp(Pick& pick) const {
  // A back-test names its run; the picks of the report are this session's.
  if (pick.source == PickSource::kBacktest && pick.runId != 0) return;
  pick.source = source_;
  pick.runId = runId_;
}

void SessionArchive::AddPick(Pick pick) {
  Stamp(pick);
  if (pick.added.empty()) pick.added = UtcNow();
  std::string at = pick.added;
  picks_.push_back({PickChange::kAdd, std::move(pick), std::move(at)});
}

void SessionArchive::WithdrawPick(const Pick& pick, const std::string& at) {
  PickChange change{PickChange::kWithdraw, pick, at.empty() ? UtcNow() : at};
  Stamp(change.pick);
  picks_.push_back(std::move(change));
}

void SessionArchive::NoteRaceMisses(std::vector<RaceMiss> misses, std::vector<RaceMiss> found) {
  misses_.insert(misses_.end(), misses.begin(), misses.end());
  found_.insert(found_.end(), found.begin(), found.end());
}

std::vector<RaceMiss> SessionArchive::RaceMisses() {
  return Read<std::vector<RaceMiss>>([&] { return store_.RaceMisses(); });
}

std::vector<ChainedEvent> SessionArchive::LedgerEvents() {
  return Read<std::vector<ChainedEvent>>([&] { return store_.LedgerEvents(); });
}

std::vector<Pick> SessionArchive::UnsettledPicks() {
  return Read<std::vector<Pick>>([&] { return store_.UnsettledPicks(); });
}

std::vector<Pick> SessionArchive::Picks() {
  return Read<std::vector<Pick>>([&] { return store_.Picks(); });
}

std::vector<ArchiveRun> SessionArchive::Runs() {
  return Read<std::vector<ArchiveRun>>([&] { return store_.Runs(); });
}

std::vector<Date> SessionArchive::Days() {
  return Read<std::vector<Date>>([&] { return store_.Days(); });
}

std::optional<StoredDay> SessionArchive::LoadDay(const Date& day) {
  return Read<std::optional<StoredDay>>([&] { return store_.LoadDay(day); });
}

namespace {

// Base first, so the connection is open before the archive over it and closes after it.
struct OwnedStore {
  std::unique_ptr<SqliteArchive> store;
};

// A replay's archive over a connection of its own, which only reads.
class ReadingArchive : private OwnedStore, public SessionArchive {
 public:
  explicit ReadingArchive(std::unique_ptr<SqliteArchive> s)
      : OwnedStore{std::move(s)}, SessionArchive(*store, Date{}) {}
};

}  // namespace

std::unique_ptr<DayArchive> SessionArchive::OpenReader() {
  try {
    return std::make_unique<ReadingArchive>(SqliteArchive::OpenToRead(store_.file()));
  } catch (const ArchiveError&) {
    return nullptr;  // the caller reads through this one alone
  }
}

void SessionArchive::BeginReads() {
  Read<bool>([&] {
    store_.BeginReads();
    return true;
  });
}

void SessionArchive::EndReads() {
  Read<bool>([&] {
    store_.EndReads();
    return true;
  });
}

long long SessionArchive::StartBacktestRun(const Date& from) {
  ArchiveWrite write;
  write.newRun = from;
  write.newRunKind = "backtest";
  return Read<long long>([&] { return store_.Write(write); }, 0);
}

void SessionArchive::Settle(std::vector<Pick> picks) {
  const std::string now = UtcNow();
  for (Pick& p : picks) {
    if (p.settled.empty()) p.settled = now;
    std::string at = p.settled;
    picks_.push_back({PickChange::kSettle, std::move(p), std::move(at)});
  }
}

void SessionArchive::StoreRunnerParts(std::vector<RunnerParts> race) {
  // A replayed day is a look back, not what was analysed that day.
  if (replay_ || race.empty()) return;
  races_.push_back(std::move(race));
}

void SessionArchive::JoinRunnerParts(std::vector<RunnerParts> rows) {
  joined_.insert(joined_.end(), std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
}

std::vector<RunnerParts> SessionArchive::AllRunnerParts() {
  return Read<std::vector<RunnerParts>>([&] { return store_.AllRunnerParts(); });
}

std::vector<Date> SessionArchive::PartsDays() {
  return Read<std::vector<Date>>([&] { return store_.PartsDays(); });
}

void SessionArchive::NotePartsDay(const Date& day) {
  partsDays_.push_back(day);
}

std::vector<StoredSystem> SessionArchive::Systems() {
  return Read<std::vector<StoredSystem>>([&] { return store_.Systems(); });
}

std::string SessionArchive::WriteSystem(const StoredSystem& system) {
  try {
    store_.WriteSystem(system);
    return {};
  } catch (const ArchiveError& e) {
    return e.what();
  }
}

std::string SessionArchive::RenameSystem(const std::string& from, const std::string& to) {
  try {
    store_.RenameSystem(from, to);
    return {};
  } catch (const ArchiveError& e) {
    return e.what();
  }
}

std::string SessionArchive::DeleteSystem(const std::string& name) {
  try {
    store_.DeleteSystem(name);
    return {};
  } catch (const ArchiveError& e) {
    return e.what();
  }
}

}  // namespace trotix
