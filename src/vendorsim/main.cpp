// trotix-vendor-sim: the demo vendor server as a program.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "app/system_clock.h"
#include "net/vendor_urls.h"
#include "vendorsim/vendor_sim.h"

using namespace trotix;
using namespace trotix::vendorsim;

int main(int argc, char** argv) {
  CLI::App app{
      "trotix-vendor-sim: the demo vendor server. Stands in for the vendor's data server, the "
      "vendor's web site and the exchange's runner pages on one HTTP server, with a race day "
      "generated from a seed and a date. Same seed and date, same bytes. Stop it with Ctrl-C."};
  app.set_version_flag("--version", "trotix-vendor-sim " + std::string(kVersion));
  SimOptions o;
  std::string date, latency;
  std::vector<std::string> accounts, faults;
  app.add_option("--port", o.port, "port to listen on; 0 takes any free port (printed on start)")
      ->default_val(0)
      ->check(CLI::Range(0, 65535));
  app.add_option("--bind", o.bindAddress, "address to listen on")->default_val("127.0.0.1");
  app.add_option("--seed", o.seed, "seed of the generated data")->default_val(1);
  app.add_option("--date", date, "the day served, dd.mm.yyyy (default: today)");
  app.add_option("--races", o.races, "number of races of the day")
      ->default_val(40)
      ->check(CLI::Range(1, 300));
  app.add_option("--account", accounts,
                 "LOGIN:PASSWORD of an account that signs in (repeatable); demo:demo always does");
  app.add_option("--latency-ms", latency,
                 "delay before every answer: N milliseconds, or MIN-MAX for a random delay");
  app.add_option("--fault", faults,
                 "PATTERN=MODE (repeatable): requests whose path matches the glob PATTERN get "
                 "MODE: 500 (status 500), drop (connection closed, no answer), stall (never "
                 "answered until the server stops), truncate (half the announced body), garbage "
                 "(random bytes), oversize (a body above 32 MiB)");
  app.add_option("--pad-runner-pages", o.padRunnerPages,
                 "BYTES: runner pages padded to this size with an HTML comment at their end")
      ->check(CLI::Range(std::size_t{0}, std::size_t{64} << 20));
  app.add_option("--threads", o.threads, "requests served at once")
      ->default_val(32)
      ->check(CLI::Range(2, 1024));
  app.footer(
      "Serves: /horse/zabeg.txt, /refresh/trotix3.8.txt, /login/trotix.php?login=..&pass=.., "
      "/bc/tipsters.xml, /bc/move.xml, /horse/rez.php?date=dd.mm.yyyy, "
      "/file/tx<dd.mm.yyyy>.txt, /zorvat/processbasa.txt, /zorvat/score.txt, "
      "/zorvat/dvbasa.txt, /betting/LoadRunnerInfoAction.do?marketId=..&selectionId=..\n"
      "Example: trotix-vendor-sim --port 8080 --account anna:secret --latency-ms 20-80 "
      "--fault '/bc/move.xml=500' --fault '/betting/*=stall'");
  CLI11_PARSE(app, argc, argv);

  o.date = SystemClock().Today();
  if (!date.empty()) {
    const auto d = ParseDate(date);
    if (!d) {
      std::cerr << "--date: expected dd.mm.yyyy, got " << date << "\n";
      return 2;
    }
    o.date = *d;
  }
  for (const std::string& a : accounts) {
    const auto acc = ParseAccount(a);
    if (!acc) {
      std::cerr << "--account: expected LOGIN:PASSWORD, got " << a << "\n";
      return 2;
    }
    o.accounts.push_back(*acc);
  }
  if (!latency.empty()) {
    const auto l = ParseLatency(latency);
    if (!l) {
      std::cerr << "--latency-ms: expected N or MIN-MAX, got " << latency << "\n";
      return 2;
    }
    o.latencyMinMs = l->first;
    o.latencyMaxMs = l->second;
  }
  for (const std::string& f : faults) {
    const auto fault = ParseFault(f);
    if (!fault) {
      std::cerr << "--fault: expected PATTERN=MODE with MODE one of 500, drop, stall, truncate, "
                   "garbage, oversize; got "
                << f << "\n";
      return 2;
    }
    o.faults.push_back(*fault);
  }

  // Block the stop signals before any thread starts, then wait for one of them here.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  VendorSim sim(o);
  try {
    sim.Start();
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  std::cout << "trotix-vendor-sim listening on " << sim.BaseUrl() << "  (date "
            << FormatDate(o.date) << ", " << sim.day().races.size() << " races, seed " << o.seed
            << ")" << std::endl;
  int sig = 0;
  sigwait(&stopSignals, &sig);
  sim.Stop();
  return 0;
}
