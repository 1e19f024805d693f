#pragma once
// The window's Sessions: the live one on the network clients, its answers recorded into the day
// archive when there is one, and a stored day replayed from the archive, offline.
#include <memory>
#include <optional>
#include <string>

#include "app/session.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "gui/qt_ports.h"

namespace trotix::gui {

struct MadeSession {
  std::unique_ptr<Session> session;
  std::shared_ptr<void> keepAlive;     // what the Session's ports rely on
  SessionArchive* recorder = nullptr;  // the live session's, none in a replay
};

class SessionFactory {
 public:
  SessionFactory(GuiPorts& ports, std::unique_ptr<HttpClient> web,
                 std::unique_ptr<HttpClient> zorvat, std::shared_ptr<void> keepAlive,
                 std::shared_ptr<SqliteArchive> archive, bool dayClock = false);

  SqliteArchive* archive() const { return archive_.get(); }

  // The live Session; made once, since the network clients go into it.
  MadeSession Live(const SessionOptions& options);
  // The stored `day` with the hosts it was fetched from; no value, and `error` says why, when
  // it cannot be opened.
  std::optional<MadeSession> Replay(SessionOptions options, const Date& day, std::string& error);

 private:
  GuiPorts& ports_;
  std::unique_ptr<HttpClient> web_, zorvat_;
  std::shared_ptr<void> keepAlive_;
  std::shared_ptr<SqliteArchive> archive_;
  bool dayClock_ = false;
};

}  // namespace trotix::gui
