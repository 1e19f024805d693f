#pragma once
// A stored day replayed offline keeps what it makes here, for the Session that replays it.
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "archive/day_archive.h"
#include "archive/runner_parts.h"

namespace trotix {

// The archive of a replayed day in a back-test: it keeps the picks the day's report adds, once
// each as the ledger does, for the back-test to file under its run, and the runners of each race
// analysed; nothing else is kept.
class PickCollector : public DayArchive {
 public:
  void BeginCommand() override {}
  std::string CommitCommand() override { return {}; }
  void RollbackCommand() override {}
  void Record(RecordedAnswer) override {}
  long long StoreBody(const std::string&) override { return 0; }
  std::optional<std::string> ReadBody(long long) override { return std::nullopt; }
  void KeepDay(const Date&, const Hosts&) override {}
  void ForgetAnswers(const std::vector<RequestKey>&) override {}
  std::string LastAnswer(const Date&, const RequestKey&) override { return {}; }
  void AddPick(Pick pick) override {
    if (keys_.insert({pick.time, pick.course, pick.runner, pick.system}).second)
      picks.push_back(std::move(pick));
  }
  void WithdrawPick(const Pick&, const std::string&) override {}
  std::vector<Pick> UnsettledPicks() override { return {}; }
  void Settle(std::vector<Pick>) override {}
  void NoteRaceMisses(std::vector<RaceMiss>, std::vector<RaceMiss>) override {}
  std::vector<RaceMiss> RaceMisses() override { return {}; }
  std::vector<ChainedEvent> LedgerEvents() override { return {}; }
  std::vector<Pick> Picks() override { return {}; }
  std::vector<ArchiveRun> Runs() override { return {}; }
  std::vector<Date> Days() override { return {}; }
  std::optional<StoredDay> LoadDay(const Date&) override { return std::nullopt; }
  long long StartBacktestRun(const Date&) override { return 0; }
  void StoreRunnerParts(std::vector<RunnerParts> race) override {
    races.push_back(std::move(race));
  }

  std::vector<Pick> picks;
  std::vector<std::vector<RunnerParts>> races;  // as analysed, a race again for each analysis

 private:
  std::set<std::tuple<std::string, std::string, std::string, std::string>> keys_;
};

}  // namespace trotix
