#include "gui/session_factory.h"

#include <QCoreApplication>

#include "app/system_clock.h"
#include "archive/archive_http_client.h"
#include "archive/recording_http_client.h"

namespace trotix::gui {

SessionFactory::SessionFactory(GuiPorts& ports, std::unique_ptr<HttpClient> web,
                               std::unique_ptr<HttpClient> zorvat, std::shared_ptr<void> keepAlive,
                               std::shared_ptr<SqliteArchive> archive, bool dayClock)
    : ports_(ports),
      web_(std::move(web)),
      zorvat_(std::move(zorvat)),
      keepAlive_(std::move(keepAlive)),
      archive_(std::move(archive)),
      dayClock_(dayClock) {}

MadeSession SessionFactory::Live(const SessionOptions& options) {
  struct Live {
    std::unique_ptr<HttpClient> web, zorvat;
    std::shared_ptr<void> keepAlive;
    std::shared_ptr<SqliteArchive> store;
    std::unique_ptr<SessionArchive> archive;
    std::unique_ptr<HttpClient> recordedWeb, recordedZorvat;
    std::unique_ptr<Clock> clock;
  };
  auto live = std::make_shared<Live>();
  live->web = std::move(web_);
  live->zorvat = std::move(zorvat_);
  live->keepAlive = keepAlive_;
  HttpClient* web = live->web.get();
  HttpClient* zorvat = live->zorvat.get();
  if (archive_) {
    live->store = archive_;
    live->archive = std::make_unique<SessionArchive>(*archive_);
    live->recordedWeb = std::make_unique<RecordingHttpClient>(*web, *live->archive, options.hosts);
    live->recordedZorvat =
        std::make_unique<RecordingHttpClient>(*zorvat, *live->archive, options.hosts);
    web = live->recordedWeb.get();
    zorvat = live->recordedZorvat.get();
  }
  if (dayClock_) live->clock = std::make_unique<DayClock>(ports_.clock().Today(), ports_.clock());
  Clock& clock = live->clock ? *live->clock : ports_.clock();
  auto session = std::make_unique<Session>(
      options, SessionPorts{*web, *zorvat, ports_.browser(), ports_.messages(), ports_.progress(),
                            clock, live->archive.get()});
  SessionArchive* recorder = live->archive.get();
  return {std::move(session), live, recorder};
}

std::optional<MadeSession> SessionFactory::Replay(SessionOptions options, const Date& day,
                                                  std::string& error) {
  if (!archive_) return std::nullopt;
  struct Replay {
    std::shared_ptr<SqliteArchive> store;
    std::unique_ptr<SessionArchive> archive;
    std::unique_ptr<HttpClient> client;
    std::unique_ptr<Clock> clock;
  };
  auto replay = std::make_shared<Replay>();
  try {
    const auto stored = archive_->LoadDay(day);
    if (!stored) {
      error = QCoreApplication::translate("SessionFactory", "The archive holds no day %1")
                  .arg(QString::fromStdString(FormatDate(day)))
                  .toStdString();
      return std::nullopt;
    }
    replay->archive = std::make_unique<SessionArchive>(*archive_, day);
    replay->client = std::make_unique<ArchiveHttpClient>(stored->answers, stored->hosts,
                                                         BodiesOf(*replay->archive));
    // The day's own hosts: every address the session builds is the one recorded.
    options.hosts = stored->hosts;
  } catch (const ArchiveError& e) {
    error = e.what();
    return std::nullopt;
  }
  replay->store = archive_;
  replay->clock = std::make_unique<DayClock>(day, ports_.clock());
  auto session = std::make_unique<Session>(
      options, SessionPorts{*replay->client, *replay->client, ports_.browser(), ports_.messages(),
                            ports_.progress(), *replay->clock, replay->archive.get()});
  return MadeSession{std::move(session), replay, nullptr};
}

}  // namespace trotix::gui
