#include "net/vendor_urls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trotix {
namespace {

TEST(PercentEncodeTest, EncodesAllButUnreservedCharacters) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"Az09-._~", "Az09-._~"},
      {"a&b", "a%26b"},
      {"a+b", "a%2Bb"},
      {"a#b", "a%23b"},
      {"a b", "a%20b"},
      {"p\xe9", "p%E9"},       // a single byte of a national code page
      {"\xd0\x96", "%D0%96"},  // a UTF-8 letter, byte by byte
      {std::string("\0\xff", 2), "%00%FF"},
      {"=?/%:@", "%3D%3F%2F%25%3A%40"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(PercentEncode(in), out) << in;
}

TEST(VendorUrlsTest, SignInEncodesLoginAndPassword) {
  const VendorUrls urls(Hosts{});
  EXPECT_EQ(urls.Login("jo smith", "p&ss+w#rd \xe9"),
            "http://data.trotix.com/login/trotix.php?login=jo%20smith"
            "&pass=p%26ss%2Bw%23rd%20%E9");
  EXPECT_EQ(urls.Login("demo", "demo"),
            "http://data.trotix.com/login/trotix.php?login=demo&pass=demo");
}

TEST(VendorUrlsTest, EveryAddressUsesItsHostAndFixedPath) {
  Hosts h;
  h.dataServer = "http://127.0.0.1:1001";
  h.webSite = "http://127.0.0.1:1002";
  h.exchangeSite = "http://127.0.0.1:1003";
  h.exchangeWeb = "https://127.0.0.1:1004";
  h.videoHost = "https://127.0.0.1:1005";
  const VendorUrls u(h);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {u.CourseTable(), "http://127.0.0.1:1001/horse/zabeg.txt"},
      {u.VersionProbe(), "http://127.0.0.1:1001/refresh/trotix3.8.txt"},
      {u.Tips(), "http://127.0.0.1:1001/bc/tipsters.xml"},
      {u.Moves(), "http://127.0.0.1:1001/bc/move.xml"},
      // Well-formed dates and ids stay as they are.
      {u.Results("07.03.2012"), "http://127.0.0.1:1001/horse/rez.php?date=07.03.2012"},
      {u.UpdatePage(),
       "http://127.0.0.1:1002/index.php?option=com_content&view=article&id=106&Itemid=24"},
      {u.IndicatorFile("07.03.2012"), "http://127.0.0.1:1002/file/tx07.03.2012.txt"},
      {u.ProcessBase(), "http://127.0.0.1:1002/zorvat/processbasa.txt"},
      {u.ScoreBase(), "http://127.0.0.1:1002/zorvat/score.txt"},
      {u.DayValues(), "http://127.0.0.1:1002/zorvat/dvbasa.txt"},
      {u.RunnerPage("1.10234", "5678"),
       "http://127.0.0.1:1003/betting/LoadRunnerInfoAction.do?marketId=1.10234&selectionId=5678"
       "&timeZone=Europe/Moscow&locale=ru&region=GBR&brand=betfair&currency=USD"},
      {u.VideoPlayer("10234"),
       "https://127.0.0.1:1005/GetPlayer.do?tr=1&mID=1.10234&allowPopup=false"},
      {u.MarketPage("10234"), "https://127.0.0.1:1004/exchange/plus/horse-racing/market/1.10234"},
      {u.WebSiteHostName(), "127.0.0.1:1002"},
  };
  for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(VendorUrlsTest, ValuesFromDataCannotChangeTheAddress) {
  const VendorUrls u(Hosts{});
  const std::vector<std::pair<std::string, std::string>> cases = {
      {u.MarketPage("1#x"), "https://www.betfair.com/exchange/plus/horse-racing/market/1.1%23x"},
      {u.MarketPage("/../../admin"),
       "https://www.betfair.com/exchange/plus/horse-racing/market/1.%2F..%2F..%2Fadmin"},
      {u.VideoPlayer("1&allowPopup=true#"),
       "https://videoplayer.betfair.com/GetPlayer.do?tr=1&mID=1.1%26allowPopup%3Dtrue%23"
       "&allowPopup=false"},
      {u.RunnerPage("1.2&currency=GBP", "5 6"),
       "http://www.betfair.com/betting/LoadRunnerInfoAction.do?marketId="
       "1.2%26currency%3DGBP&selectionId=5%206"
       "&timeZone=Europe/Moscow&locale=ru&region=GBR&brand=betfair&currency=USD"},
      {u.Results("1.1.2026&x=1"), "http://data.trotix.com/horse/rez.php?date=1.1.2026%26x%3D1"},
      {u.IndicatorFile("../x"), "http://www.trotix.com/file/tx..%2Fx.txt"},
  };
  for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(VendorUrlsTest, BuiltInHosts) {
  const VendorUrls u(Hosts{});
  EXPECT_EQ(u.CourseTable(), "http://data.trotix.com/horse/zabeg.txt");
  EXPECT_EQ(u.ProcessBase(), "http://www.trotix.com/zorvat/processbasa.txt");
  EXPECT_EQ(u.WebSiteHostName(), "www.trotix.com");
  Hosts bare;
  bare.webSite = "www.example.org";
  EXPECT_EQ(VendorUrls(bare).WebSiteHostName(), "www.example.org");
}

TEST(IsWebAddressTest, AcceptsOnlyHttpAndHttps) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"http://x", true},
      {"HTTPS://x/y", true},
      {"Http://", true},
      {"file:///etc/passwd", false},
      {"javascript:alert(1)", false},
      {"ftp://x", false},
      {"", false},
      {"http:/x", false},
      {" http://x", false},
  };
  for (const auto& [url, web] : cases) EXPECT_EQ(IsWebAddress(url), web) << url;
}

}  // namespace
}  // namespace trotix
