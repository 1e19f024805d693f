// The sign-in and the day's load, step by step in the system's order.
#include <exception>
#include <optional>
#include <thread>

#include "analysis/zorvat/reference_tables.h"
#include "app/remember_me.h"
#include "app/session.h"
#include "archive/request_key.h"
#include "exchange/indicator_races.h"
#include "feeds/feeds.h"
#include "feeds/race_day.h"
#include "text/strings.h"

namespace trotix {
namespace {

// Runs `side` on a thread of its own while `main` runs on this one, and returns once both have
// ended, with what either threw. The sign-in's one way of using its two clients at once: each
// side uses one client only, so each client keeps one thread inside it.
template <typename Side, typename Main>
void Beside(Side&& side, Main&& main) {
  std::exception_ptr failed;
  {
    std::jthread lane([&] {
      try {
        side();
      } catch (...) {
        failed = std::current_exception();
      }
    });
    main();
  }
  if (failed) std::rethrow_exception(failed);
}

}  // namespace

SignInResult Session::SignIn(const SignInForm& form) {
  return AsCommand([&] {
    const Deadline deadline(*this);
    const SignInResult result = TrySignIn(form);
    if (DayArchive* archive = ports_.archive) {
      if (result == SignInResult::SignedIn) {
        day_ = ports_.clock.Today();
        archive->KeepDay(*day_, options_.hosts);
      } else {
        // A replay must never meet the answers of a sign-in that failed.
        archive->ForgetAnswers(
            {RequestKeyOf(urls_.VersionProbe(), options_.hosts, true),
             RequestKeyOf(urls_.Login("", ""), options_.hosts, false),
             RequestKeyOf(urls_.IndicatorFile(view_.resultsDate), options_.hosts, true)});
      }
    }
    return result;
  });
}

SignInResult Session::TrySignIn(const SignInForm& form) {
  HttpAnswer answer;
  std::optional<SignInResult> ended;
  std::optional<ProbeResult> indicatorProbe;
  if (options_.maxConnections > 1) {
    // Side by side, each client with one thread inside it: the course table and the indicator
    // file's probe through the Zorvat client on a thread of their own (neither needs the main
    // client's cookies or redirects), while the version probe and the sign-in go through the
    // main client here.
    const bool tableDue = courseTableDue_;
    const std::string indicator = urls_.IndicatorFile(view_.resultsDate);
    HttpAnswer table;
    Beside(
        [&] {
          if (tableDue) table = ports_.zorvat.Get(urls_.CourseTable(), &stop_);
          indicatorProbe = ports_.zorvat.Probe(indicator, &stop_);
        },
        [&] { ended = ProbeAndSignIn(form, answer); });
    if (tableDue) ApplyCourseTable(table);
  } else {
    FetchCourseTable();
    ended = ProbeAndSignIn(form, answer);
  }
  if (ended) return *ended;
  if (!LoadDay(form, answer.body, indicatorProbe)) {
    SayHowItEnded();
    return SignInResult::Stopped;
  }
  return SignInResult::SignedIn;
}

std::optional<SignInResult> Session::ProbeAndSignIn(const SignInForm& form, HttpAnswer& answer) {
  const auto stopped = [this] {
    SayHowItEnded();
    return SignInResult::Stopped;
  };
  std::string why;
  const ProbeResult version = ports_.web.ProbeExplained(urls_.VersionProbe(), why, &stop_);
  if (stop_.stopped()) return stopped();
  switch (version) {
    case ProbeResult::Present:
      break;
    case ProbeResult::Unreachable:
      // No answer at all is a connection problem, not an outdated release.
      ports_.messages.ShowWithDetail(kConnectionFailed,
                                     NoteConnectionFailure(urls_.VersionProbe(), why));
      return SignInResult::ConnectionFailed;
    case ProbeResult::Absent:
      ports_.messages.Show("Update New Version Programm Please!\n\rGo to site " +
                           urls_.WebSiteHostName() + "\n\rОбновите программу с сайта!");
      ports_.browser.Open(urls_.UpdatePage());
      closeRequested_ = true;
      return SignInResult::UpdateRequired;
  }

  const std::string login = urls_.Login(form.login, form.password);
  answer = ports_.web.Get(login, &stop_);
  if (stop_.stopped()) return stopped();
  if (answer.failed) {
    // A failed request is no sign-in, not a successful one with an empty day. The address is
    // noted without its query, which holds the password.
    ports_.messages.ShowWithDetail(
        kConnectionFailed, NoteConnectionFailure(login.substr(0, login.find('?')), answer.error));
    return SignInResult::ConnectionFailed;
  }
  if (Contains(answer.body, "Fail...")) {
    ports_.messages.Show(kAuthorizationFailed);
    return SignInResult::Rejected;
  }
  return std::nullopt;
}

void Session::SignOut() {
  ClearDay();
  view_.signedIn = false;
  view_.signInEnabled = true;
  view_.tvbuttonEnabled = view_.bfbuttonEnabled = false;
  view_.vizVisible = false;
  view_.raceOnScreen = -1;
  view_.exchangePrices.clear();
  for (int p = 0; p < kPageCount; ++p) view_.tabVisible[p] = p == kPageAbout;
  view_.BringToFront(kPageAbout);
}

void Session::ClearDay() {
  dayFacts_.reset();
  Workspace fresh;
  fresh.REP = std::move(ws_.REP);
  fresh.ReportRow = ws_.ReportRow;
  fresh.CourseTable = std::move(ws_.CourseTable);
  ws_ = std::move(fresh);
  exchangeFetchedAt_.clear();
}

std::string Session::NoteConnectionFailure(const std::string& url, const std::string& why) {
  view_.notes.push_back("Connection failed: " + url + (why.empty() ? "" : " — " + why));
  return view_.notes.back();
}

bool Session::LoadDay(const SignInForm& form, const std::string& answer,
                      std::optional<ProbeResult> indicatorProbe) {
  // Everything is fetched before anything changes, so a stop leaves the Session signed out.
  const DayLoads loads = indicatorProbe ? FetchDayLoadsTogether(*indicatorProbe) : FetchDayLoads();
  if (stop_.stopped()) return false;
  if (form.rememberMe) {
    if (const auto error =
            SaveRememberMe(options_.folder, {form.login, form.password}, options_.hosts.dataServer);
        !error.empty()) {
      failures_.push_back(error);
      ports_.messages.Show(error);
    }
  } else {
    DeleteRememberMe(options_.folder, options_.hosts.dataServer);
  }
  // The loaders append: a second sign-in starts from empty lists.
  ClearDay();
  ws_.DayData = SplitLines(answer);
  view_.signInEnabled = false;
  view_.signedIn = true;
  FillRaceLists(ws_);

  ApplyIndicatorList(loads.indicatorProbe, loads.indicator);
  // Each Zorvat table is guarded on its own: a failed download leaves that table empty.
  trotix::LoadZorvatTables(ws_, BodyOrEmpty(loads.processBase), BodyOrEmpty(loads.scoreBase),
                           BodyOrEmpty(loads.dayValues), ports_.clock.Today(), &reference_->lines);
  ApplyFeed(loads.tips, &trotix::LoadTips);
  ApplyFeed(loads.moves, &trotix::LoadMoves);

  ws_.glavcount = "Count: " + std::to_string(ws_.RT.RowCount()) + "  ";
  view_.BringToFront(kPageToday);
  for (int p : {kPageToday, kPageScalpOdds, kPageIndicatorBF, kPageZorvat, kPageTips, kPageResult,
                kPageReport, kPageAllTable})
    view_.tabVisible[p] = true;
  view_.tabVisible[kPageAbout] = false;
  view_.tabVisible[kPageIndicatorBF] = false;
  if (ws_.DayRaces.races.empty()) ports_.messages.Show(kNoRaces);
  return true;
}

Session::DayLoads Session::FetchDayLoads() {
  DayLoads loads;
  const std::string indicator = urls_.IndicatorFile(view_.resultsDate);
  loads.indicatorProbe = ports_.web.Probe(indicator, &stop_);
  if (loads.indicatorProbe == ProbeResult::Present)
    loads.indicator = ports_.web.Get(indicator, &stop_);
  loads.processBase = ports_.zorvat.Get(urls_.ProcessBase(), &stop_);
  loads.scoreBase = ports_.zorvat.Get(urls_.ScoreBase(), &stop_);
  loads.dayValues = ports_.zorvat.Get(urls_.DayValues(), &stop_);
  loads.tips = ports_.web.Get(urls_.Tips(), &stop_);
  loads.moves = ports_.web.Get(urls_.Moves(), &stop_);
  return loads;
}

Session::DayLoads Session::FetchDayLoadsTogether(ProbeResult indicatorProbe) {
  const int cap = options_.maxConnections;
  DayLoads loads;
  loads.indicatorProbe = indicatorProbe;
  std::vector<std::string> urls = {urls_.Tips(), urls_.Moves()};
  if (indicatorProbe == ProbeResult::Present)
    urls.push_back(urls_.IndicatorFile(view_.resultsDate));
  std::vector<HttpAnswer> tables, web;
  Beside(
      [&] {
        tables = ports_.zorvat.GetMany({urls_.ProcessBase(), urls_.ScoreBase(), urls_.DayValues()},
                                       cap, {}, &stop_);
      },
      [&] { web = ports_.web.GetMany(urls, cap, {}, &stop_); });
  loads.tips = std::move(web[0]);
  loads.moves = std::move(web[1]);
  if (web.size() > 2) loads.indicator = std::move(web[2]);
  loads.processBase = std::move(tables[0]);
  loads.scoreBase = std::move(tables[1]);
  loads.dayValues = std::move(tables[2]);
  return loads;
}

void Session::ApplyFeed(const HttpAnswer& answer, void (*load)(Workspace&, std::string_view)) {
  if (answer.failed) {
    // The feed's error is shown and the rest of the day still loads.
    ports_.messages.Show(answer.error);
    return;
  }
  load(ws_, answer.body);
}

void Session::ApplyIndicatorList(ProbeResult probe, const HttpAnswer& answer) {
  if (probe != ProbeResult::Present) return;
  // A failed download keeps the lines of the last good one.
  if (!answer.failed) ws_.IndicatorList = SplitLines(answer.body);
  RebuildIndicatorRaces(ws_);
}

}  // namespace trotix
