#pragma once
// The market's arithmetic: win chances from abilities, the exchange's and the bookmakers' price
// ladders and the books they make. Pure functions of their inputs.
#include <vector>

namespace trotix::vendorsim {

// Each runner's share of exp(ability): chances that sum to 1.
std::vector<double> WinChances(const std::vector<double>& abilities);

// Exchange prices move in steps that widen with the price ("4.55" is no price, "4.6" is).
double SnapPrice(double price);
// Starting prices are the bookmakers' fractional odds (4/11, 9/2, 100/30, 250/1), as decimal
// odds to two places: the nearest of them.
double SnapStartingPrice(double price);

// The exchange's win prices for the market's view of the chances (summing to 1): on the ladder,
// the book being about `book` (1.00-1.03), a price above 1000 shown as 1000.
std::vector<double> ExchangePrices(const std::vector<double>& chances, double book);

// The bookmakers' book over a field of `runners`: wider the more runners there are.
double StartingPriceBook(int runners);
// Starting prices for the market's view of the chances with the book spread over them by the
// favourite-longshot bias: a long shot carries far more of the margin than its chance, so its
// price is much shorter than its chance says, the favourite's a little.
std::vector<double> StartingPrices(const std::vector<double>& chances, double book);

// Sum of 1/price over the prices given (0 for none): a race's book.
double Book(const std::vector<double>& prices);

}  // namespace trotix::vendorsim
