#pragma once
// Host settings shared by both front ends: each host has an option and a TROTIX_... variable.
#include <CLI/CLI.hpp>

#include "net/hosts.h"

namespace trotix {

inline void AddHostOptions(CLI::App& app, Hosts& hosts) {
  app.add_option("--data-server", hosts.dataServer, "The vendor's data server")
      ->envname("TROTIX_DATA_SERVER");
  app.add_option("--web-site", hosts.webSite, "The vendor's web site")->envname("TROTIX_WEB_SITE");
  app.add_option("--exchange-site", hosts.exchangeSite, "The exchange's runner pages")
      ->envname("TROTIX_EXCHANGE_SITE");
  app.add_option("--exchange-web", hosts.exchangeWeb, "The exchange's market pages")
      ->envname("TROTIX_EXCHANGE_WEB");
  app.add_option("--video-host", hosts.videoHost, "The exchange's video player")
      ->envname("TROTIX_VIDEO_HOST");
}

}  // namespace trotix
