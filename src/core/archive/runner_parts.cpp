#include "archive/runner_parts.h"

namespace trotix {

std::string SystemPickName(const std::string& name, int version) {
  return version <= 1 ? name : name + " v" + std::to_string(version);
}

void DayArchive::StoreRunnerParts(std::vector<RunnerParts>) {}
void DayArchive::JoinRunnerParts(std::vector<RunnerParts>) {}
std::vector<RunnerParts> DayArchive::AllRunnerParts() {
  return {};
}
std::vector<Date> DayArchive::PartsDays() {
  return {};
}
void DayArchive::NotePartsDay(const Date&) {}
std::vector<StoredSystem> DayArchive::Systems() {
  return {};
}
std::string DayArchive::WriteSystem(const StoredSystem&) {
  return "systems need the archive";
}
std::string DayArchive::RenameSystem(const std::string&, const std::string&) {
  return "systems need the archive";
}
std::string DayArchive::DeleteSystem(const std::string&) {
  return "systems need the archive";
}

}  // namespace trotix
