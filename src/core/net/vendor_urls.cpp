#include "net/vendor_urls.h"

#include "text/strings.h"

namespace trotix {

bool IsWebAddress(std::string_view url) {
  const std::string lower = Lower(url.substr(0, 8));
  return lower.starts_with("http://") || lower.starts_with("https://");
}

std::string PercentEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string VendorUrls::CourseTable() const {
  return h_.dataServer + "/horse/zabeg.txt";
}

std::string VendorUrls::VersionProbe() const {
  return h_.dataServer + "/refresh/trotix" + std::string(kVersion) + ".txt";
}

std::string VendorUrls::Login(std::string_view login, std::string_view password) const {
  return h_.dataServer + "/login/trotix.php?login=" + PercentEncode(login) +
         "&pass=" + PercentEncode(password);
}

std::string VendorUrls::Tips() const {
  return h_.dataServer + "/bc/tipsters.xml";
}
std::string VendorUrls::Moves() const {
  return h_.dataServer + "/bc/move.xml";
}

std::string VendorUrls::Results(std::string_view dateText) const {
  return h_.dataServer + "/horse/rez.php?date=" + PercentEncode(dateText);
}

std::string VendorUrls::UpdatePage() const {
  return h_.webSite + "/index.php?option=com_content&view=article&id=106&Itemid=24";
}

std::string VendorUrls::IndicatorFile(std::string_view dateText) const {
  return h_.webSite + "/file/tx" + PercentEncode(dateText) + ".txt";
}

std::string VendorUrls::ProcessBase() const {
  return h_.webSite + "/zorvat/processbasa.txt";
}
std::string VendorUrls::ScoreBase() const {
  return h_.webSite + "/zorvat/score.txt";
}
std::string VendorUrls::DayValues() const {
  return h_.webSite + "/zorvat/dvbasa.txt";
}

std::string VendorUrls::RunnerPage(std::string_view marketId, std::string_view selectionId) const {
  return h_.exchangeSite + std::string(kRunnerPagePath) + "?marketId=" + PercentEncode(marketId) +
         "&selectionId=" + PercentEncode(selectionId) +
         "&timeZone=Europe/Moscow&locale=ru&region=GBR&brand=betfair&currency=USD";
}

std::string VendorUrls::VideoPlayer(std::string_view bfnumber) const {
  return h_.videoHost + "/GetPlayer.do?tr=1&mID=1." + PercentEncode(bfnumber) + "&allowPopup=false";
}

std::string VendorUrls::MarketPage(std::string_view bfnumber) const {
  return h_.exchangeWeb + "/exchange/plus/horse-racing/market/1." + PercentEncode(bfnumber);
}

std::string VendorUrls::WebSiteHostName() const {
  std::string_view h = h_.webSite;
  if (const auto p = h.find("://"); p != std::string_view::npos) h.remove_prefix(p + 3);
  return std::string(h);
}

}  // namespace trotix
