#pragma once
// Every address the system requests or opens, built from the host settings. Values taken from
// data or typed by the user (dates, market and selection ids) are percent-encoded; the fixed
// paths are not.
#include <string>
#include <string_view>

#include "net/hosts.h"

namespace trotix {

// The release, set by the build: the version probe asks whether it is still current.
inline constexpr std::string_view kVersion = TROTIX_VERSION;

// The exchange's runner page, by its path: the HTTP client bounds these pages on their own.
inline constexpr std::string_view kRunnerPagePath = "/betting/LoadRunnerInfoAction.do";

class VendorUrls {
 public:
  explicit VendorUrls(Hosts hosts) : h_(std::move(hosts)) {}
  const Hosts& hosts() const { return h_; }

  std::string CourseTable() const;   // data server
  std::string VersionProbe() const;  // data server
  // Login and password are percent-encoded so that "&", "+", "#" and spaces survive.
  std::string Login(std::string_view login, std::string_view password) const;
  std::string Tips() const;
  std::string Moves() const;
  std::string Results(std::string_view dateText) const;
  std::string UpdatePage() const;  // web site
  std::string IndicatorFile(std::string_view dateText) const;
  std::string ProcessBase() const;
  std::string ScoreBase() const;
  std::string DayValues() const;
  std::string RunnerPage(std::string_view marketId, std::string_view selectionId) const;
  std::string VideoPlayer(std::string_view bfnumber) const;
  std::string MarketPage(std::string_view bfnumber) const;
  // The web site's host name without scheme, as the update message names it.
  std::string WebSiteHostName() const;

 private:
  Hosts h_;
};

// True for an "http://" or "https://" address (any letter case); only such addresses, never
// a file or another scheme taken from data, are handed to the browser.
bool IsWebAddress(std::string_view url);

// RFC 3986 percent-encoding of everything but unreserved characters.
std::string PercentEncode(std::string_view text);

}  // namespace trotix
