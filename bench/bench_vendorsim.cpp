// How many runner pages the demo vendor server answers per second on loopback, so that later
// benchmarks know they measure the client and not the server.
//   bench_vendorsim [SECONDS] [CONNECTIONS]     (defaults 3 and 8)
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "text/fields.h"
#include "text/strings.h"
#include "vendorsim/formats.h"
#include "vendorsim/vendor_sim.h"

using namespace trotix;
using namespace trotix::vendorsim;

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
  const int connections = argc > 2 ? std::atoi(argv[2]) : 8;

  SimOptions o;
  o.date = Date{2024, 3, 5};
  VendorSim sim(o);
  sim.Start();
  std::vector<std::string> targets;
  for (const std::string& line : SplitLines(IndicatorText(sim.day()))) {
    for (int market : {4, 6})
      targets.push_back("/betting/LoadRunnerInfoAction.do?marketId=" + GetField(line, market) +
                        "&selectionId=" + GetField(line, 5) +
                        "&timeZone=Europe/Moscow&locale=ru&region=GBR&brand=betfair&currency=USD");
  }

  std::atomic<bool> done{false};
  std::atomic<long> pages{0}, failures{0};
  std::vector<std::thread> clients;
  const auto start = std::chrono::steady_clock::now();
  for (int c = 0; c < connections; ++c) {
    clients.emplace_back([&, c] {
      httplib::Client cli("127.0.0.1", sim.Port());
      cli.set_keep_alive(true);
      for (std::size_t i = static_cast<std::size_t>(c); !done; i += 7) {
        auto res = cli.Get(targets[i % targets.size()].c_str());
        if (res && res->status == 200 && !res->body.empty())
          ++pages;
        else
          ++failures;
      }
    });
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  done = true;
  for (auto& t : clients) t.join();
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  sim.Stop();

  const double rate = pages / elapsed;
  std::printf("runner pages: %ld in %.2f s over %d connections = %.0f pages/s (%ld failed)\n",
              pages.load(), elapsed, connections, rate, failures.load());
  std::printf("target: at least 2000 pages/s: %s\n", rate >= 2000 ? "met" : "NOT MET");
  return rate >= 2000 && failures == 0 ? 0 : 1;
}
