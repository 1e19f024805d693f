#include "vendorsim/words.h"

namespace trotix::vendorsim {

const std::vector<Course>& Courses() {
  // One course is listed in capitals, as the vendor's table sometimes has it; the look-up of
  // its country is by upper-cased name and must still find it.
  static const std::vector<Course> kCourses = {
      {"ASC", "Ascot", "England", "Ascot"},
      {"CHL", "Cheltenham", "England", "Cheltenham"},
      {"Kempton Park", "Kempton", "England", "Kempton"},
      {"NMK", "Newmarket", "England", "Newmarket"},
      {"YRK", "York", "England", "York"},
      {"Wolves", "Wolverhampton", "England", "Wolverhampton"},
      {"LIN", "Lingfield", "England", "Lingfield"},
      {"DON", "Doncaster", "England", "Doncaster"},
      {"Leopardstown", "Leopardstown", "Ireland", "Leopardstown"},
      {"The Curragh", "Curragh", "Ireland", "Curragh"},
      {"DUN", "DUNDALK", "Ireland", "Dundalk"},
      {"Punchestown", "Punchestown", "Ireland", "Punchestown"},
      {"ParisLongchamp", "Longchamp", "France", "Longchamp"},
      {"CHA", "Chantilly", "France", "Chantilly"},
      {"Deauville-Clairefontaine", "Deauville", "France", "Deauville"},
      {"Meydan Racecourse", "Meydan", "UAE", "Meydan"},
      {"Jebel Ali", "Jebel Ali", "UAE", "Jebel Ali"},
      {"Mahalaxmi", "Mumbai", "India", "Mumbai"},
      {"Bangalore Turf Club", "Bangalore", "India", "Bangalore"},
      {"KEN", "Kenilworth", "South Africa", "Kenilworth"},
      {"TUR", "Turffontein", "South Africa", "Turffontein"},
      {"Belmont", "Belmont Park", "USA", "Belmont Park"},
      {"SA", "Santa Anita", "USA", "Santa Anita"},
      {"GP", "Gulfstream Park", "USA", "Gulfstream Park"},
      {"FLE", "Flemington", "Australia", "Flemington"},
      {"Royal Randwick", "Randwick", "Australia", "Randwick"},
      {"ST", "Sha Tin", "Hong Kong", "Sha Tin"},
      {"HV", "Happy Valley", "Hong Kong", "Happy Valley"},
      {"Iffezheim", "Baden-Baden", "Germany", "Baden-Baden"},
      {"TOK", "Tokyo", "Japan", "Tokyo"},
      {"Club Hipico", "Santiago", "Chile", "Santiago"},
  };
  return kCourses;
}

const WordLists& Words() {
  static const WordLists kWords = {
      // horseFirst
      {"Golden",   "Silver", "Midnight", "Northern", "Southern", "Royal",  "Wild",    "Silent",
       "Quick",    "Lucky",  "Brave",    "Dancing",  "Flying",   "Secret", "Crimson", "Misty",
       "Highland", "Desert", "Captain",  "Lady",     "Sir",      "King's", "Queen's", "O'Malley's",
       "Rocky",    "Blue",   "Red",      "Storm",    "Summer",   "Winter", "Morning", "Evening",
       "Little",   "Grand",  "Noble",    "Gentle",   "Bold",     "Shadow", "Tiger's", "Ocean"},
      // horseSecond
      {"Arrow",   "Breeze",  "Dancer",  "Legend",  "Whisper", "Thunder", "Harbour", "Spirit",
       "Echo",    "Valley",  "Comet",   "Star",    "River",   "Meadow",  "Flame",   "Glory",
       "Voyage",  "Warrior", "Promise", "Rhythm",  "Quest",   "Charm",   "Jet",     "Mist",
       "Sonnet",  "Banner",  "Crown",   "Falcon",  "Ranger",  "Melody",  "Horizon", "Treasure",
       "Fortune", "Dream",   "Runner",  "Express", "Boy",     "Girl",    "Lad",     "Rose"},
      // horseSingle
      {"Sea",      "Ross",        "Zanzibar",   "Quixotic", "Tobermory", "Kilkenny", "Ballyhoo",
       "Kismet",   "Xerxes",      "Vortex",     "Ulysses",  "Nimbus",    "Oberon",   "Piccolo",
       "Rhapsody", "Serendipity", "D'Artagnan", "Galway",   "Marengo",   "Jubilee"},
      // initials
      {"A.", "B.", "C.", "D.", "E.", "F.", "G.", "H.", "J.", "K.", "L.", "M.", "N.", "P.", "R.",
       "S.", "T.", "W."},
      // surnames
      {"Ashby",    "Brennan",  "Carver",  "Doyle",     "Ellison",    "Fenwick",
       "Garrity",  "Hartley",  "Ingram",  "Jessop",    "Kavanagh",   "Lowther",
       "Moreton",  "Nolan",    "O'Neill", "Pemberton", "Quinlan",    "Radcliffe",
       "Sheridan", "Thornton", "Upton",   "Vickers",   "Whitaker",   "Yardley",
       "Dubois",   "Lemaire",  "Moreau",  "Naidoo",    "Pillay",     "Sharma",
       "Tanaka",   "Walsh",    "Murphy",  "O'Connor",  "Fitzgerald", "McAllister"},
      // sponsors
      {"Tote", "Racing T.V.", "Sky Bet", "William Hill", "Coral", "EBF", "Irish Stallion Farms",
       "Prix de la", "Al Quoz", "Jockey Club", "Queen Mother", "Cup of the", "St. Leger Trial",
       "Weatherbys", "Golden Gate", "Happy Valley", "Grand National Trial"},
      // goings
      {"Good", "Good to Firm", "Good to Soft", "Soft", "Heavy", "Firm", "Yielding",
       "Good (Good to Soft in places)"},
      // goingsAllWeather
      {"Standard", "Standard to Slow", "Fast", "Sloppy"},
      // distances
      {"5f", "6f", "7f", "1m", "1m 1f", "1m 2f", "1m 4f", "1m 6f", "2m", "2m 4f", "2m 5f 110y",
       "3m", "3m 2f", "1m 2f 70y", "5f 16y"},
  };
  return kWords;
}

}  // namespace trotix::vendorsim
