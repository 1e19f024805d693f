#pragma once
// The race day of a date, drawn from a seed: races, runners, the exchange's figures, tips,
// moves and finishing positions. Every runner has a hidden ability that decides its chance and
// the finishing order; what the vendor and the exchange send reflects it with noise. Pure: the
// same seed, date and race count give the same day.
#include <cstdint>
#include <string>

#include "vendorsim/market.h"
#include "vendorsim/sim_day.h"

namespace trotix::vendorsim {

Day GenerateDay(uint64_t seed, const Date& date, int races);

// "4.50": two decimals with a point, as the exchange and the moves feed write prices.
std::string PriceText(double price);
// "£1,234,567" without the pound sign: digits with thousands separators.
std::string Thousands(long long amount);

}  // namespace trotix::vendorsim
