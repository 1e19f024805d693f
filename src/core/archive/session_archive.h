#pragma once
// The day archive of one Session over the database: what a command gathers is written in one
// short transaction when the command ends, so no lock is held while the network is waited on and
// another program can use the same file meanwhile. Answer bodies, most of what a command
// gathers, are written as they arrive, each in a short write of its own; the command keeps only
// their ids. A body whose command never commits is left unreferenced and removed at a later
// opening (`SqliteArchive::RemoveOrphanBodies`).
#include <array>
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "archive/day_archive.h"
#include "archive/runner_parts.h"
#include "archive/sqlite_archive.h"

namespace trotix {

class SessionArchive : public DayArchive {
 public:
  // Live: the signed-in day's answers are recorded; picks are live.
  explicit SessionArchive(SqliteArchive& store);
  // The replay of a stored day: nothing is recorded; the picks are a back-test run of their own,
  // registered with the first of them.
  SessionArchive(SqliteArchive& store, const Date& replayedDay);

  void BeginCommand() override;
  std::string CommitCommand() override;
  void RollbackCommand() override;
  void Record(RecordedAnswer answer) override;
  long long StoreBody(const std::string& body) override;
  std::optional<std::string> ReadBody(long long id) override;
  void KeepDay(const Date& day, const Hosts& hosts) override;
  void ForgetAnswers(const std::vector<RequestKey>& keys) override;
  std::string LastAnswer(const Date& day, const RequestKey& key) override;
  void AddPick(Pick pick) override;
  void WithdrawPick(const Pick& pick, const std::string& at) override;
  std::vector<Pick> UnsettledPicks() override;
  void Settle(std::vector<Pick> picks) override;
  void NoteRaceMisses(std::vector<RaceMiss> misses, std::vector<RaceMiss> found) override;
  std::vector<RaceMiss> RaceMisses() override;
  std::vector<ChainedEvent> LedgerEvents() override;
  std::vector<Pick> Picks() override;
  std::vector<ArchiveRun> Runs() override;
  std::vector<Date> Days() override;
  std::optional<StoredDay> LoadDay(const Date& day) override;
  void BeginReads() override;
  void EndReads() override;
  std::unique_ptr<DayArchive> OpenReader() override;
  long long StartBacktestRun(const Date& from) override;
  void StoreRunnerParts(std::vector<RunnerParts> race) override;
  void JoinRunnerParts(std::vector<RunnerParts> rows) override;
  std::vector<RunnerParts> AllRunnerParts() override;
  std::vector<Date> PartsDays() override;
  void NotePartsDay(const Date& day) override;
  std::vector<StoredSystem> Systems() override;
  std::string WriteSystem(const StoredSystem& system) override;
  std::string RenameSystem(const std::string& from, const std::string& to) override;
  std::string DeleteSystem(const std::string& name) override;

  long long runId() const { return runId_; }  // 0 until the replay's first pick is written
  // Whether the answers are kept; the picks ledger stays either way. Set before the sign-in.
  void SetRecording(bool on) { recording_ = on && !replay_; }

 private:
  void Note(const ArchiveError& e);
  void Stamp(Pick& pick) const;
  // `read()`, or `fallback` with the failure noted for the end of the command.
  template <typename T, typename F>
  T Read(F&& read, T fallback = {});

  SqliteArchive& store_;
  const bool replay_;
  std::atomic<bool> recording_;
  const PickSource source_;
  Date replayedDay_;
  long long runId_ = 0;

  std::mutex mutex_;  // answers arrive on the fetching threads
  std::vector<RecordedAnswer> answers_;
  std::optional<Date> day_;
  Hosts hosts_;
  bool dayWritten_ = false;

  // What was gathered when each open bracket began: answers, then pick changes.
  std::vector<std::pair<std::size_t, std::size_t>> marks_;
  // The thread of the command under way, the only one that writes bodies as they arrive; none
  // between commands.
  std::atomic<std::thread::id> owner_{};
  std::vector<PickChange> picks_;
  std::vector<RaceMiss> misses_, found_;
  // The runners' rows gathered, and where each open bracket began in them.
  std::vector<std::vector<RunnerParts>> races_;
  std::vector<RunnerParts> joined_;
  std::vector<Date> partsDays_;
  std::vector<std::array<std::size_t, 3>> partMarks_;
  std::string error_;      // the last failure not yet reported
  bool reported_ = false;  // a failure was reported and none has succeeded since
};

}  // namespace trotix
