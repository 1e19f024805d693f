// trotix-cli: signs in and performs the user's clicks given on the command line, in order.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "actions.h"
#include "app/recording_ports.h"
#include "app/system_clock.h"
#include "json_output.h"
#include "net/curl_http_client.h"
#include "net/vendor_urls.h"
#include "options/host_options.h"
#include "text/dates.h"
#include "text/numbers.h"
#include "text_output.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

constexpr int kExitBadArguments = 2;
constexpr int kExitSignInFailed = 3;
constexpr int kExitActionFailed = 4;

struct Options {
  Hosts hosts;
  bool demo = false;
  std::string login, password;
  bool remember = false;
  std::string today;
  int maxConnections = 8;
  std::string dir = ".";
  bool json = false;
  std::vector<std::string> words;
};

void PrintChanged(const Workspace& before, const Workspace& after) {
  const auto old = before.Tables();
  const auto now = after.Tables();
  for (std::size_t i = 0; i < now.size(); ++i)
    if (!(*old[i].second == *now[i].second)) PrintTable(std::cout, now[i].first, *now[i].second);
}

int Run(Options& o) {
  Date today = SystemClock().Today();
  if (!o.today.empty()) {
    const auto parsed = ParseDate(o.today);
    if (!parsed) {
      std::cerr << "--today wants dd.mm.yyyy, not " << o.today << '\n';
      return kExitBadArguments;
    }
    today = *parsed;
  }
  std::vector<Action> actions;
  if (const auto error = ParseActions(o.words, actions); !error.empty()) {
    std::cerr << error << '\n';
    return kExitBadArguments;
  }

  // The demo vendor server lives as long as the run.
  std::unique_ptr<vendorsim::VendorSim> demo;
  if (o.demo) {
    vendorsim::SimOptions sim;
    sim.date = today;
    demo = std::make_unique<vendorsim::VendorSim>(sim);
    demo->Start();
    o.hosts = demo->SimHosts();
    if (o.login.empty() && o.password.empty()) o.login = o.password = "demo";
  }

  auto web = MakeRedirectingClient();
  auto zorvat = MakeNonRedirectingClient();
  RecordingBrowser browser;
  RecordingMessages messages;
  SilentProgress progress;
  FixedClock clock(today);
  Session session({o.hosts, o.dir, o.maxConnections},
                  {*web, *zorvat, browser, messages, progress, clock});

  session.Start();
  const Workspace& ws = session.ws();
  // The fields as start-up filled them from tx.log, unless the options say otherwise.
  SignInForm form{session.view().login, session.view().password, session.view().rememberMe};
  if (!o.login.empty() || !o.password.empty()) {
    form.login = o.login;
    form.password = o.password;
  }
  if (o.remember) form.rememberMe = true;

  RunRecord record;
  ActionState state;
  Workspace before = ws;
  const SignInResult signIn = session.SignIn(form);
  // A file the Session could not write is an error of the step that wrote it.
  std::size_t failures = 0;
  const auto takeFailures = [&](const std::string& step) {
    for (; failures < session.failures().size(); ++failures)
      record.errors.push_back(step + ": " + session.failures()[failures]);
  };
  takeFailures("sign-in");
  for (const auto& action : actions) {
    if (signIn != SignInResult::SignedIn) break;
    before = ws;
    try {
      if (auto error = RunAction(session, state, action); !error.empty())
        record.errors.push_back(error);
    } catch (const std::exception& e) {
      record.errors.push_back(action.name + ": " + e.what());
    }
    takeFailures(action.name);
  }
  // Notes come first: they were taken at start-up and sign-in, before any action.
  record.errors.insert(record.errors.begin(), session.view().notes.begin(),
                       session.view().notes.end());
  record.messages = messages.shown;
  record.opened = browser.opened;

  if (o.json) {
    std::cout << WorkspaceJson(ws, session.view(), record).dump(2) << '\n';
  } else {
    PrintChanged(before, ws);
    for (const auto& m : record.messages) std::cout << "message: " << PrintableText(m) << '\n';
    for (const auto& u : record.opened) std::cout << "opened: " << PrintableText(u) << '\n';
    for (const auto& e : record.errors) std::cerr << "error: " << PrintableText(e) << '\n';
  }
  if (signIn != SignInResult::SignedIn) return kExitSignInFailed;
  return record.errors.empty() ? 0 : kExitActionFailed;
}

}  // namespace
}  // namespace trotix

int main(int argc, char** argv) {
  trotix::Options o;
  CLI::App app{
      "trotix-cli: signs in to the vendor's servers and performs the given actions "
      "as the window's clicks would, then prints the result.\n"
      "Exit status: 0 the actions ran, 2 bad arguments, 3 the sign-in failed, 4 an action ended "
      "in an error or a file could not be written."};
  app.set_version_flag("--version", "trotix-cli " + std::string(trotix::kVersion));
  trotix::AddHostOptions(app, o.hosts);
  app.add_flag("--demo", o.demo, "Start the demo vendor server in-process and use its account");
  app.add_option("--login", o.login, "Login");
  app.add_option("--password", o.password, "Password");
  app.add_flag("--remember", o.remember, "Tick \"Remember me\" (writes tx.log)");
  app.add_option("--today", o.today, "Today's date, dd.mm.yyyy");
  app.add_option("--max-connections", o.maxConnections, "Requests at once (1: one after another)")
      ->check(CLI::Range(1, 64));
  app.add_option("--dir", o.dir, "Folder of tx.log and the HTML pages")
      ->check(CLI::ExistingDirectory);
  app.add_flag("--json", o.json, "Print the whole state as one JSON object");
  app.add_option("actions", o.words,
                 "Actions: today ROW, all ROW, zorvat ROW, indicator ROW, results [dd.mm.yyyy], "
                 "link ROW, add ROW, select ROW, delete, clear, save, real-odds on|off, "
                 "best-rank, best-recoming, tv, market");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  return trotix::Run(o);
}
