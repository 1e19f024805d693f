#include "app/session.h"

#include "analysis/analyse_race.h"
#include "analysis/zorvat/score_race.h"
#include "app/remember_me.h"
#include "exchange/indicator_race.h"
#include "feeds/feeds.h"
#include "feeds/race_day.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {

namespace {

// Pages handed to the browser need a full path.
std::filesystem::path FullPath(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::absolute(path, ignored).lexically_normal();
}

}  // namespace

Session::Session(SessionOptions options, SessionPorts ports)
    : options_(std::move(options)),
      ports_(ports),
      stop_(ports.progress.stopSignal() != nullptr ? *ports.progress.stopSignal() : ownStop_),
      urls_(options_.hosts) {
  options_.folder = FullPath(options_.folder);
}

Session::Command::Command(Session& s) : s_(s) {
  if (s_.ports_.archive) s_.ports_.archive->BeginCommand();
}

Session::Command::~Command() {
  // Only an exception leaves a command open; what it gathered must not reach the archive.
  if (open_ && s_.ports_.archive) s_.ports_.archive->RollbackCommand();
}

void Session::Command::Commit() {
  open_ = false;
  if (!s_.ports_.archive) return;
  const std::string error = s_.ports_.archive->CommitCommand();
  if (error.empty()) return;
  // The archive is a file the Session could not write, like any other.
  s_.failures_.push_back(error);
  s_.ports_.messages.Show(error);
}

Date Session::Day() const {
  return day_ ? *day_ : ports_.clock.Today();
}

void Session::Start() {
  AsCommand([&] {
    const Deadline deadline(*this);
    ws_.ReportRow = -1;
    ReadRememberMe();
    view_.BringToFront(kPageAbout);
    for (int p = 0; p < kPageCount; ++p) view_.tabVisible[p] = p == kPageAbout;
    ws_.IndicatorList.clear();
    view_.resultsDate = FormatDate(ports_.clock.Today());
    ws_.DayData.clear();
    // Asked for by the first command that needs it, on that command's thread.
    courseTableDue_ = true;
  });
}

void Session::ReadRememberMe() {
  const auto saved = LoadRememberMe(options_.folder, options_.hosts.dataServer);
  view_.rememberMe = saved.credentials.has_value();
  view_.login = saved.credentials ? saved.credentials->login : std::string();
  view_.password = saved.credentials ? saved.credentials->password : std::string();
  // A file left unread is worth knowing about, not worth a message box at start-up.
  if (!saved.note.empty()) view_.notes.push_back(saved.note);
}

void Session::FetchCourseTable() {
  if (!courseTableDue_) return;
  ApplyCourseTable(ports_.web.Get(urls_.CourseTable(), &stop_));
}

void Session::ApplyCourseTable(const HttpAnswer& answer) {
  // A stop meant for the command is no answer: the next command that needs the table asks again.
  if (!courseTableDue_ || answer.stopped) return;
  courseTableDue_ = false;
  ws_.CourseTable = SplitLines(BodyOrEmpty(answer));
}

Session::Deadline::Deadline(Session& session) : session_(session) {
  Restart();
}

Session::Deadline::~Deadline() {
  session_.stop_.ClearDeadline();
}

void Session::Deadline::Restart() {
  if (session_.options_.deadline.count() > 0)
    session_.stop_.SetDeadline(StopSignal::Clock::now() + session_.options_.deadline);
}

void Session::SayHowItEnded(const PageFailures* failures) {
  if (stop_.cancelled()) return;
  std::string text;
  if (stop_.expired()) {
    const auto ms = options_.deadline.count();
    text = "Stopped: no answer within " +
           (ms % 1000 == 0 ? std::to_string(ms / 1000) : FormatFixed(ms / 1000.0, 1)) + " s";
    failures_.push_back(text);
  }
  if (failures != nullptr && failures->failed() > 0)
    text += (text.empty() ? "" : "\n") + failures->Text();
  if (!text.empty()) ports_.messages.Show(text);
}

void Session::UseSettings(SessionOptions options) {
  options.folder = FullPath(options.folder);
  const bool newServer = options.hosts.dataServer != options_.hosts.dataServer;
  const bool newFolder = options.folder != options_.folder;
  options_ = std::move(options);
  urls_ = VendorUrls(options_.hosts);
  if (!view_.signedIn && (newServer || newFolder)) ReadRememberMe();
  if (newServer) courseTableDue_ = true;
}

void Session::Close() {
  AsCommand([&] {
    ws_.DayData.clear();
    ws_.CourseTable.clear();
  });
}

void Session::LoadResults(const std::string& date) {
  AsCommand([&] {
    const Deadline deadline(*this);
    FetchCourseTable();
    const HttpAnswer answer = ports_.web.Get(urls_.Results(date), &stop_);
    if (stop_.stopped()) return SayHowItEnded();
    view_.resultsDate = date;
    view_.vizVisible = false;
    const bool found = trotix::LoadResults(ws_, BodyOrEmpty(answer));
    view_.vizVisible = !found;
  });
}

void Session::OpenResultLink(int row) {
  if (const auto url = ResultLink(ws_, row)) ports_.browser.Open(*url);
}

void Session::ScoreZorvatRace(int row) {
  ScoreRace(ws_, row);
  // Scoring reloads TAB and the header; figures of another race must not stay beside them.
  if (row == view_.raceOnScreen) return;
  ws_.R.ClearRows();
  ws_.RR.ClearRows();
  ws_.bfnumber.clear();
  ws_.u8 = kExchangeTotalCaption;
  view_.tvbuttonEnabled = view_.bfbuttonEnabled = false;
  view_.raceOnScreen = row;
  view_.exchangePrices.clear();
}

void Session::ReloadMoves() {
  if (!view_.signedIn) return;
  const Deadline deadline(*this);
  FetchCourseTable();
  const HttpAnswer moves = ports_.web.Get(urls_.Moves(), &stop_);
  if (stop_.stopped()) return SayHowItEnded();
  if (!moves.failed) ws_.LG.ClearRows();
  ApplyFeed(moves, &trotix::LoadMoves);
}

void Session::FillIndicatorRace(int row) {
  AsCommand([&] {
    const Deadline deadline(*this);
    // Every page is in before T2 changes, so a stop leaves T2 as it was.
    const auto urls = IndicatorRacePages(ws_, row, urls_);
    RunnerPages pages;
    if (!FetchRunnerPages(urls, pages)) return SayHowItEnded();
    trotix::FillIndicatorRace(ws_, row, urls_, FetchedPages(urls, pages.bodies));
    // T2 now holds that race: the buttons and the total stay only when it is the race on screen.
    if (!ExchangeHoldsRace(ws_, view_.raceOnScreen)) {
      ws_.u8 = kExchangeTotalCaption;
      view_.tvbuttonEnabled = view_.bfbuttonEnabled = false;
    }
    SayHowItEnded(&pages.failures);
  });
}

bool Session::FetchRunnerPages(const std::vector<std::string>& urls, RunnerPages& pages,
                               const std::function<void(int)>& arrived,
                               const HttpClient::StartGate& mayStart) {
  pages.bodies.assign(urls.size(), std::string());
  pages.arrivals.assign(urls.size(), std::string());
  if (urls.empty()) return !stop_.stopped();
  Progress& progress = ports_.progress;
  const int runners = static_cast<int>(urls.size() + 1) / 2;
  progress.SetGauge(Progress::kPr, 0, runners);
  progress.ShowPanel(true);
  int answered = 0;
  ports_.web.GetMany(
      urls, options_.maxConnections,
      [&](int i, HttpAnswer& answer) {
        // Taken, not copied: the batch keeps no page the analysis has released.
        if (!answer.failed) pages.bodies[i] = std::move(answer.body);
        pages.arrivals[i] = std::move(answer.arrived);
        pages.failures.Add(answer);
        if (++answered % 2 == 0) progress.SetGauge(Progress::kPr, answered / 2, runners);
        if (arrived) arrived(i);
      },
      &stop_, mayStart);
  progress.ShowPanel(false);
  return !stop_.stopped();
}

}  // namespace trotix
