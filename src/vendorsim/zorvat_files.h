#pragma once
// The three Zorvat reference files the vendor's web site publishes.
#include <cstdint>
#include <string>
#include <vector>

namespace trotix::vendorsim {

// "KK>>I1>>...>>I6>>PtsI>>II1>>...>>II6>>PtsII>>" for every key 00-99, values 0-9.
std::string ProcessBaseText(uint64_t seed);
// "STATUS>>CODE1>>CODE2>>SCORE>>" for the statuses and letter codes the scoring produces.
std::string ScoreBaseText(uint64_t seed);
// "dd.mm>>DV>>" for every day of the year, 29 February included.
std::string DayValuesText(uint64_t seed);

// Every status text the scoring can build and look up (without "U." and with it).
std::vector<std::string> ScoringStatuses();

}  // namespace trotix::vendorsim
