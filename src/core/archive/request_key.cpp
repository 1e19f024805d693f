#include "archive/request_key.h"

#include <array>
#include <functional>
#include <utility>

#include "text/strings.h"

namespace trotix {
namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal but for the case of ASCII letters, as Lower makes them. Allocates nothing: every request
// a replay makes is named this way.
bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool IsCredential(std::string_view parameter) {
  const std::string_view name = parameter.substr(0, parameter.find('='));
  return SameIgnoringCase(name, "login") || SameIgnoringCase(name, "pass") ||
         SameIgnoringCase(name, "password");
}

std::string WithoutCredentials(std::string_view query) {
  std::string out;
  while (!query.empty()) {
    const auto amp = query.find('&');
    const std::string_view parameter = query.substr(0, amp);
    if (!parameter.empty() && !IsCredential(parameter)) {
      if (!out.empty()) out += '&';
      out += parameter;
    }
    if (amp == std::string_view::npos) break;
    query.remove_prefix(amp + 1);
  }
  return out;
}

// True when `url` is on `host`: the host, then the end or a path or a query.
bool OnHost(std::string_view url, std::string_view host) {
  if (host.empty() || url.size() < host.size()) return false;
  if (!SameIgnoringCase(url.substr(0, host.size()), host)) return false;
  return url.size() == host.size() || url[host.size()] == '/' || url[host.size()] == '?';
}

}  // namespace

RequestKey RequestKeyOf(std::string_view url, const Hosts& hosts, bool probe) {
  const std::array<std::pair<const char*, const std::string*>, 5> roles = {{
      {"data", &hosts.dataServer},
      {"web", &hosts.webSite},
      {"exchange", &hosts.exchangeSite},
      {"exchange-web", &hosts.exchangeWeb},
      {"video", &hosts.videoHost},
  }};
  RequestKey key;
  key.probe = probe;
  std::string_view rest;
  for (const auto& [role, host] : roles) {
    if (OnHost(url, *host)) {
      key.role = role;
      rest = url.substr(host->size());
      break;
    }
  }
  if (key.role.empty()) {
    const auto scheme = url.find("://");
    const auto hostEnd = url.find_first_of("/?", scheme == std::string_view::npos ? 0 : scheme + 3);
    key.role = Lower(url.substr(0, hostEnd));
    rest = hostEnd == std::string_view::npos ? std::string_view() : url.substr(hostEnd);
  }
  const auto question = rest.find('?');
  key.path = std::string(rest.substr(0, question));
  if (key.path.empty()) key.path = "/";
  if (question != std::string_view::npos) key.query = WithoutCredentials(rest.substr(question + 1));
  return key;
}

std::size_t RequestKeyHash::operator()(const RequestKey& key) const {
  const std::hash<std::string_view> hash;
  std::size_t h = hash(key.path);
  // The path and query tell most requests apart; the role and kind rarely do.
  h = h * 31 + hash(key.query);
  h = h * 31 + hash(key.role);
  return h * 2 + (key.probe ? 1 : 0);
}

}  // namespace trotix
