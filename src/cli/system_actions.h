#pragma once
// `trotix-cli system …`: the user's own systems. `save NAME FILE`, `list`, `show NAME`,
// `delete NAME`, `test NAME [FROM [TO]]` (with --split dd.mm.yyyy) and `run NAME`.
#include <string>
#include <vector>

#include "actions.h"

namespace trotix {

// Takes the words of a `system` action from words[i + 1] on into `action`, advancing `i`. A file
// to save is read and checked here, so a bad one stops the run before it starts. Returns the
// error text; empty when all is well.
std::string ParseSystemWords(const std::vector<std::string>& words, std::size_t& i, Action& action);
// Whether the action reads the archive only (every one but `run`).
bool IsOfflineSystemAction(const Action& action);
std::string RunSystemAction(Session& session, ActionState& state, const Action& action);

}  // namespace trotix
