#pragma once
#include <string>

namespace trotix {

// Where the remote parties live. Built-in defaults, overridden by command-line options or
// TROTIX_... environment variables in the front ends. Each is scheme + host (+ port), no slash.
struct Hosts {
  std::string dataServer = "http://data.trotix.com";    // the vendor's data server
  std::string webSite = "http://www.trotix.com";        // the vendor's web site
  std::string exchangeSite = "http://www.betfair.com";  // runner information pages
  std::string exchangeWeb = "https://www.betfair.com";  // market pages, opened in the browser
  std::string videoHost = "https://videoplayer.betfair.com";
};

}  // namespace trotix
