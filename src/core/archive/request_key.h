#pragma once
// How the archive names a request: by the role of its host rather than the host itself, so a day
// replays whatever the hosts are called, and never with the sign-in's credentials.
#include <cstddef>
#include <string_view>

#include "archive/day_archive.h"
#include "net/hosts.h"

namespace trotix {

// The role of the first host in `hosts` (data server, web site, exchange site, exchange web,
// video host) that `url` starts with; scheme and host themselves when none does. Query
// parameters named login, pass or password are dropped.
RequestKey RequestKeyOf(std::string_view url, const Hosts& hosts, bool probe);

// For the maps a replay looks its requests up in.
struct RequestKeyHash {
  std::size_t operator()(const RequestKey& key) const;
};

}  // namespace trotix
