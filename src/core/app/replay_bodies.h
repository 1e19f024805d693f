#pragma once
// The stored bodies a run of replayed days reads (a back-test, the runners' fill), kept between
// the requests that ask for them again.
#include <cstddef>
#include <string>
#include <unordered_map>

#include "archive/archive_http_client.h"
#include "archive/day_archive.h"

namespace trotix {

// A body is stored once by content, so its id names it: within a day Best Recoming asks for the
// very pages Best Rank read, and every day asks for the same Zorvat tables. A body read is kept
// while the kept ones stay within `capBytes`; a body the day just ended did not read is dropped
// when the next begins, so memory follows one day, bounded even for days of large pages. One
// thread: the one that owns the archive's connection.
class ReplayBodies {
 public:
  static constexpr std::size_t kDefaultCap = 32u << 20;
  explicit ReplayBodies(DayArchive& archive, std::size_t capBytes = kDefaultCap);
  ReplayBodies(const ReplayBodies&) = delete;
  ReplayBodies& operator=(const ReplayBodies&) = delete;

  // The reader of one day's replay client; valid while this object lives.
  ArchiveHttpClient::BodyReader Reader();
  // A new day begins: the bodies the last one did not read are dropped.
  void NextDay();

  std::size_t keptBytes() const { return bytes_; }
  long long archiveReads() const { return reads_; }

 private:
  std::optional<std::string> Read(long long id);

  struct Kept {
    std::string body;
    int day = 0;  // the last day that read it
  };
  DayArchive& archive_;
  std::size_t cap_;
  std::unordered_map<long long, Kept> kept_;
  std::size_t bytes_ = 0;
  int day_ = 0;
  long long reads_ = 0;
};

}  // namespace trotix
