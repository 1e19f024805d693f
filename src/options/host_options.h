#pragma once
// Host settings shared by both front ends: each host has an option and a TROTIX_... variable.
#include <CLI/CLI.hpp>

#include "net/hosts.h"

namespace trotix {

struct HostOption {
  const char* option;    // on the command line
  const char* variable;  // in the environment
  const char* help;
  std::string Hosts::*member;
};

inline constexpr HostOption kHostOptions[] = {
    {"--data-server", "TROTIX_DATA_SERVER", "The vendor's data server", &Hosts::dataServer},
    {"--web-site", "TROTIX_WEB_SITE", "The vendor's web site", &Hosts::webSite},
    {"--exchange-site", "TROTIX_EXCHANGE_SITE", "The exchange's runner pages",
     &Hosts::exchangeSite},
    {"--exchange-web", "TROTIX_EXCHANGE_WEB", "The exchange's market pages", &Hosts::exchangeWeb},
    {"--video-host", "TROTIX_VIDEO_HOST", "The exchange's video player", &Hosts::videoHost},
};

inline void AddHostOptions(CLI::App& app, Hosts& hosts) {
  for (const HostOption& h : kHostOptions)
    app.add_option(h.option, hosts.*h.member, h.help)->envname(h.variable);
}

}  // namespace trotix
