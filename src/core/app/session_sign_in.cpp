// The sign-in and the day's load, step by step in the system's order.
#include "analysis/zorvat/reference_tables.h"
#include "app/remember_me.h"
#include "app/session.h"
#include "exchange/indicator_races.h"
#include "feeds/feeds.h"
#include "feeds/race_day.h"
#include "text/strings.h"

namespace trotix {

SignInResult Session::SignIn() {
  switch (ports_.web.Probe(urls_.VersionProbe())) {
    case ProbeResult::Present:
      break;
    case ProbeResult::Unreachable:
      // No answer at all is a connection problem, not an outdated release.
      ports_.messages.Show(kConnectionFailed);
      return SignInResult::ConnectionFailed;
    case ProbeResult::Absent:
      ports_.messages.Show("Update New Version Programm Please!\n\rGo to site " +
                           urls_.WebSiteHostName() + "\n\rОбновите программу с сайта!");
      ports_.browser.Open(urls_.UpdatePage());
      closeRequested_ = true;
      return SignInResult::UpdateRequired;
  }

  ws_.LoginName = ws_.loginedit;
  ws_.LoginPassword = ws_.passedit;
  const HttpAnswer answer = ports_.web.Get(urls_.Login(ws_.LoginName, ws_.LoginPassword));
  if (answer.failed) {
    // A failed request is no sign-in, not a successful one with an empty day.
    ports_.messages.Show(kConnectionFailed);
    return SignInResult::ConnectionFailed;
  }
  if (Contains(answer.body, "Fail...")) {
    ports_.messages.Show(kAuthorizationFailed);
    return SignInResult::Rejected;
  }
  LoadDay(answer.body);
  return SignInResult::SignedIn;
}

void Session::LoadDay(const std::string& answer) {
  if (ws_.zap) {
    if (const auto error = SaveRememberMe(options_.folder, {ws_.LoginName, ws_.LoginPassword});
        !error.empty())
      ports_.messages.Show(error);
  } else {
    DeleteRememberMe(options_.folder);
  }
  ws_.DayData = SplitLines(answer);
  ws_.signInEnabled = false;
  ws_.signedIn = true;
  FillRaceLists(ws_);
  LoadIndicatorList();
  LoadZorvatTables();
  LoadFeed(urls_.Tips(), &trotix::LoadTips);
  LoadFeed(urls_.Moves(), &trotix::LoadMoves);
  ws_.glavcount = "Count: " + std::to_string(ws_.RT.RowCount()) + "  ";
  ws_.activePage = kPageToday;
  for (int p : {kPageToday, kPageScalpOdds, kPageIndicatorBF, kPageZorvat, kPageTips, kPageResult,
                kPageReport, kPageAllTable})
    ws_.tabVisible[p] = true;
  ws_.tabVisible[kPageAbout] = false;
  ws_.tabVisible[kPageIndicatorBF] = false;
}

void Session::LoadFeed(const std::string& url, void (*load)(Workspace&, std::string_view)) {
  const HttpAnswer answer = ports_.web.Get(url);
  if (answer.failed) {
    // The feed's error is shown and the rest of the day still loads.
    ports_.messages.Show(answer.error.empty() ? "Cannot load " + url : answer.error);
    return;
  }
  load(ws_, answer.body);
}

void Session::LoadIndicatorList() {
  const std::string url = urls_.IndicatorFile(ws_.datas);
  if (ports_.web.Probe(url) != ProbeResult::Present) return;
  // A failed download keeps the lines of the last good one.
  if (const HttpAnswer answer = ports_.web.Get(url); !answer.failed)
    ws_.IndicatorList = SplitLines(answer.body);
  RebuildIndicatorRaces(ws_);
}

void Session::LoadZorvatTables() {
  // Each table is guarded on its own: a failed download leaves that table empty.
  const auto fetch = [this](const std::string& url) { return BodyOrEmpty(ports_.zorvat.Get(url)); };
  const std::string process = fetch(urls_.ProcessBase());
  const std::string score = fetch(urls_.ScoreBase());
  const std::string days = fetch(urls_.DayValues());
  trotix::LoadZorvatTables(ws_, process, score, days, ports_.clock.Today());
}

}  // namespace trotix
