#include "app/session.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <future>
#include <optional>
#include <sstream>

#include "app/remember_me.h"
#include "support/fixture_server.h"
#include "support/session_harness.h"

namespace trotix {
namespace {

using testing::FixtureServer;
using testing::SessionHarness;

constexpr const char* kDay =
    "<zabeg><course>Ascot</course><time>13:30</time><name>Maiden Stakes</name>"
    "<winner>BJ5000</winner><count>2</count>"
    "<horse><number>1</number><name_horse>Sea Bird</name_horse><or>80</or></horse>"
    "<horse><number>2</number><name_horse>Dune</name_horse><or>90</or></horse></zabeg>\n"
    "<zabeg><course>Kempton</course><time>13:30</time><name>Handicap</name>"
    "<winner>BJ3000</winner><count>1</count>"
    "<horse><number>1</number><name_horse>Other</name_horse></horse></zabeg>\n";

// A vendor whose every path answers, with the "demo"/"p w&d" account.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vendor.Set("/horse/zabeg.txt", "Ascot>>Ascot>>England>>\r\nKempton>>KEMPTON>>England>>\r\n");
    vendor.Set("/refresh/trotix3.8.txt", "current");
    vendor.Set("/login/trotix.php", kDay);
    vendor.Set("/bc/tipsters.xml",
               "<horse><course>Ascot</course><time>13:30</time><name>Dune</name>"
               "<place>1</place></horse>");
    vendor.Set("/bc/move.xml",
               "<horse><course>Ascot</course><time>13:30</time><name>Dune</name><kf1>4.5</kf1>"
               "<kf2>5</kf2><precent>-5</precent></horse>");
    vendor.Set("/zorvat/dvbasa.txt", "08.12>>7>>\r\n");
    vendor.Set("/horse/rez.php",
               "rez)13:30>>Ascot>>http://results.example/1>>Dune>>4.5>>Sea Bird>>3>>"
               "A>>2>>B>>1>><br>");
  }

  Workspace& Start(SessionHarness& h) {
    h.session->Start();
    return h.ws();
  }

  FixtureServer vendor;
};

TEST_F(SessionTest, StartUpWithoutRememberMeShowsOnlyAbout) {
  SessionHarness h(vendor.Base(), {2026, 12, 8}, /*maxConnections=*/1);
  Workspace& ws = Start(h);
  const ViewState& view = h.session->view();
  EXPECT_EQ(view.VisibleTabs(), std::vector<std::string>{"About"});
  EXPECT_EQ(view.activePage, kPageAbout);
  EXPECT_FALSE(view.rememberMe);
  EXPECT_EQ(view.login, "");
  EXPECT_EQ(view.resultsDate, "08.12.2026");
  // Start-up asks for nothing: the course table is a step of the first command that needs it.
  EXPECT_TRUE(ws.CourseTable.empty());
  EXPECT_TRUE(vendor.Requests().empty());
  EXPECT_EQ(ws.ReportRow, -1);
}

// tx.log is read only when it is a small regular file of its own; anything else is left unread
// and noted, so a link or a special file can neither hang the start-up nor fill the fields.
TEST_F(SessionTest, StartUpReadsOnlyASmallRegularRememberMeFile) {
  namespace fs = std::filesystem;
  const auto write = [](const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  };
  const std::string notRegular = "tx.log ignored: not a regular file";
  const std::string tooLarge = "tx.log ignored: larger than 64 KiB";
  const std::string twoLines = "demo\r\nsecret\r\n";
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    std::optional<Credentials> loaded;  // none: ignored with `note`
    std::string note;
  };
  const std::vector<Case> cases = {
      {"two lines", [&](auto& f) { write(f, twoLines); }, Credentials{"demo", "secret"}, ""},
      // A missing line is the empty text.
      {"one line", [&](auto& f) { write(f, "only-login\r\n"); }, Credentials{"only-login", ""}, ""},
      {"64 KiB", [&](auto& f) { write(f, twoLines + std::string(65536 - twoLines.size(), '\n')); },
       Credentials{"demo", "secret"}, ""},
      {"over 64 KiB",
       [&](auto& f) { write(f, twoLines + std::string(65537 - twoLines.size(), '\n')); },
       std::nullopt, tooLarge},
      {"link to a file",
       [&](auto& f) {
         write(f.parent_path() / "other.txt", twoLines);
         fs::create_symlink("other.txt", f);
       },
       std::nullopt, notRegular},
      {"link to a device", [](auto& f) { fs::create_symlink("/dev/zero", f); }, std::nullopt,
       notRegular},
      {"FIFO", [](auto& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }, std::nullopt, notRegular},
      {"folder", [](auto& f) { fs::create_directory(f); }, std::nullopt, notRegular},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SessionHarness h(vendor.Base());
    const fs::path file = h.folder.path() / kRememberMeFile;
    c.make(file);
    // Should the FIFO be opened for reading after all, a writer comes and goes so the test ends.
    std::future<void> writer;
    if (fs::is_fifo(fs::symlink_status(file)))
      writer = std::async(std::launch::async, [&] { ::close(::open(file.c_str(), O_WRONLY)); });
    Start(h);
    if (writer.valid()) {
      const int reader = ::open(file.c_str(), O_RDONLY | O_NONBLOCK);
      writer.get();
      ::close(reader);
    }
    const ViewState& view = h.session->view();
    const Credentials expected = c.loaded.value_or(Credentials{});
    EXPECT_EQ(view.rememberMe, c.loaded.has_value());
    EXPECT_EQ(view.login, expected.login);
    EXPECT_EQ(view.password, expected.password);
    EXPECT_EQ(view.notes,
              c.note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.note});
  }
}

TEST_F(SessionTest, SignInLoadsTheDayInOrder) {
  SessionHarness h(vendor.Base(), {2026, 12, 8}, /*maxConnections=*/1);
  Workspace& ws = Start(h);
  ASSERT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  EXPECT_TRUE(h.messages.shown.empty());
  EXPECT_EQ(ws.RT.RowCount(), 2);
  EXPECT_EQ(ws.NX.RowCount(), 2);
  EXPECT_EQ(ws.MM.RowCount(), 2);
  EXPECT_EQ(ws.RT.Image(1, 0), 1);  // course table matched without regard to case
  EXPECT_EQ(ws.TIPS.RowCount(), 1);
  EXPECT_EQ(ws.LG.RowCount(), 1);
  EXPECT_EQ(ws.RF.RowCount(), 1);
  EXPECT_EQ(ws.RF.Number(0, 0), 7);  // today's DV
  EXPECT_EQ(ws.glavcount, "Count: 2  ");
  const ViewState& view = h.session->view();
  EXPECT_EQ(view.activePage, kPageToday);
  EXPECT_EQ(view.VisibleTabs(), (std::vector<std::string>{"Today", "Scalp Odds", "Zorvat", "Tips",
                                                          "Result", "Report", "ALL TABLE"}));
  EXPECT_FALSE(view.signInEnabled);
  // The requests of the day's load, in the system's order.
  const auto requests = vendor.Requests();
  std::vector<std::string> paths;
  for (const auto& r : requests) paths.push_back(r.substr(0, r.find('?')));
  const std::vector<std::string> expected = {
      "/horse/zabeg.txt",       "/refresh/trotix3.8.txt",  "/login/trotix.php",
      "/file/tx08.12.2026.txt", "/zorvat/processbasa.txt", "/zorvat/score.txt",
      "/zorvat/dvbasa.txt",     "/bc/tipsters.xml",        "/bc/move.xml"};
  EXPECT_EQ(paths, expected);
}

TEST_F(SessionTest, ConcurrentLoadsMakeTheSameRequests) {
  SessionHarness h(vendor.Base());
  Workspace& ws = Start(h);
  ASSERT_EQ(h.session->SignIn({}), SignInResult::SignedIn);
  std::vector<std::string> paths;
  for (const auto& r : vendor.Requests()) paths.push_back(r.substr(0, r.find('?')));
  // Three round trips: the version probe beside the course table and the indicator file's
  // probe (through the other client), the sign-in, then the day's loads together. The
  // indicator file is absent here, so it is not fetched.
  ASSERT_EQ(paths.size(), 9u);
  const auto login = std::find(paths.begin(), paths.end(), "/login/trotix.php");
  ASSERT_NE(login, paths.end());
  EXPECT_LT(std::find(paths.begin(), paths.end(), "/refresh/trotix3.8.txt"), login);
  std::vector<std::string> loads(login + 1, paths.end());
  // The course table and the probe travel beside the version probe and may end after the
  // sign-in.
  std::erase(loads, "/file/tx08.12.2026.txt");
  std::erase(loads, "/horse/zabeg.txt");
  std::sort(loads.begin(), loads.end());
  EXPECT_EQ(loads,
            (std::vector<std::string>{"/bc/move.xml", "/bc/tipsters.xml", "/zorvat/dvbasa.txt",
                                      "/zorvat/processbasa.txt", "/zorvat/score.txt"}));
  std::sort(paths.begin(), paths.end());
  const std::vector<std::string> expected = {
      "/bc/move.xml",       "/bc/tipsters.xml",        "/file/tx08.12.2026.txt",
      "/horse/zabeg.txt",   "/login/trotix.php",       "/refresh/trotix3.8.txt",
      "/zorvat/dvbasa.txt", "/zorvat/processbasa.txt", "/zorvat/score.txt"};
  EXPECT_EQ(paths, expected);
  EXPECT_EQ(ws.CourseTable.size(), 2u);
}

TEST_F(SessionTest, TwoRejectionsThenAGoodSignIn) {
  SessionHarness h(vendor.Base());
  Workspace& ws = Start(h);
  vendor.Set("/login/trotix.php", "<html>Fail...</html>");
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_EQ(h.session->SignIn({}), SignInResult::Rejected);
    EXPECT_TRUE(h.session->view().signInEnabled);
    EXPECT_EQ(ws.RT.RowCount(), 0);
  }
  EXPECT_EQ(h.messages.shown,
            (std::vector<std::string>{"Autorization Failed!", "Autorization Failed!"}));
  vendor.Set("/login/trotix.php", kDay);
  EXPECT_EQ(h.session->SignIn({}), SignInResult::SignedIn);
  EXPECT_EQ(ws.RT.RowCount(), 2);
}

TEST_F(SessionTest, CredentialsArePercentEncoded) {
  SessionHarness h(vendor.Base());
  Start(h);
  ASSERT_EQ(h.session->SignIn({"de mo", "p&ss+w#rd d"}), SignInResult::SignedIn);
  bool seen = false;
  for (const auto& r : vendor.Requests())
    seen |= r == "/login/trotix.php?login=de mo&pass=p&ss+w#rd d";  // as the server decoded it
  EXPECT_TRUE(seen);
}

TEST_F(SessionTest, RememberMeTickedWritesAndUntickedDeletes) {
  {
    SessionHarness h(vendor.Base());
    Start(h);
    ASSERT_EQ(h.session->SignIn({"demo", "s3cret", /*rememberMe=*/true}), SignInResult::SignedIn);
    std::ifstream in(h.folder.path() / "tx.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "demo\r\ns3cret\r\n" + vendor.Base() + "\r\n");
    struct stat st {};
    ASSERT_EQ(::stat((h.folder.path() / "tx.log").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
  }
  {
    // Remembered for another server: not offered here, and the user is told why.
    SessionHarness h(vendor.Base());
    std::ofstream(h.folder.path() / "tx.log") << "demo\r\ns3cret\r\nhttp://other.example\r\n";
    Start(h);
    EXPECT_FALSE(h.session->view().rememberMe);
    EXPECT_EQ(h.session->view().login, "");
    EXPECT_EQ(h.session->view().notes,
              std::vector<std::string>{"tx.log ignored: remembered for http://other.example"});
    // Not this server's to forget either.
    ASSERT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
    EXPECT_TRUE(std::filesystem::exists(h.folder.path() / "tx.log"));
  }
  {
    SessionHarness h(vendor.Base());
    std::ofstream(h.folder.path() / "tx.log") << "old\r\nold\r\n";
    Start(h);
    ASSERT_EQ(h.session->SignIn({"old", "old", /*rememberMe=*/false}), SignInResult::SignedIn);
    EXPECT_FALSE(std::filesystem::exists(h.folder.path() / "tx.log"));
  }
}

TEST_F(SessionTest, MissingVersionFileAsksForUpdateAndCloses) {
  vendor.Remove("/refresh/trotix3.8.txt");
  SessionHarness h(vendor.Base());
  Start(h);
  EXPECT_EQ(h.session->SignIn({}), SignInResult::UpdateRequired);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0], "Update New Version Programm Please!\n\rGo to site " +
                                     vendor.Base().substr(7) + "\n\rОбновите программу с сайта!");
  EXPECT_EQ(h.browser.opened,
            std::vector<std::string>{
                vendor.Base() + "/index.php?option=com_content&view=article&id=106&Itemid=24"});
  EXPECT_TRUE(h.session->closeRequested());
  EXPECT_FALSE(h.session->view().signedIn);
}

TEST(SessionUnreachable, NoServerIsAConnectionFailureNotAnUpdate) {
  SessionHarness h("http://127.0.0.1:" + std::to_string(testing::ClosedPort()));
  h.session->Start();
  EXPECT_TRUE(h.ws().CourseTable.empty());  // swallowed at start-up
  EXPECT_EQ(h.session->SignIn({}), SignInResult::ConnectionFailed);
  EXPECT_EQ(h.messages.shown, std::vector<std::string>{"Connection failed!"});
  // The status line learns which address failed and the client's reason.
  ASSERT_EQ(h.session->view().notes.size(), 1u);
  const std::string& note = h.session->view().notes[0];
  EXPECT_TRUE(note.starts_with("Connection failed: " + h.session->urls().VersionProbe() + " — "))
      << note;
  EXPECT_GT(note.size(), ("Connection failed: " + h.session->urls().VersionProbe() + " — ").size());
  EXPECT_TRUE(h.browser.opened.empty());
  EXPECT_FALSE(h.session->closeRequested());
  EXPECT_TRUE(h.session->view().signInEnabled);
  EXPECT_EQ(h.session->view().VisibleTabs(), std::vector<std::string>{"About"});
}

TEST_F(SessionTest, FailingSignInRequestIsNoSignIn) {
  vendor.Set("/login/trotix.php", "oops", 500);
  SessionHarness h(vendor.Base());
  Start(h);
  EXPECT_EQ(h.session->SignIn({"demo", "s3cret"}), SignInResult::ConnectionFailed);
  EXPECT_FALSE(h.session->view().signedIn);
  EXPECT_TRUE(h.session->view().signInEnabled);
  // The address without the query that holds the password.
  EXPECT_EQ(h.session->view().notes,
            std::vector<std::string>{"Connection failed: " + vendor.Base() +
                                     "/login/trotix.php — HTTP status 500"});
}

TEST_F(SessionTest, SignOutKeepsTheReportAndSignsInAfreshWithNewMoves) {
  SessionHarness h(vendor.Base());
  Workspace& ws = Start(h);
  ASSERT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  h.session->AnalyseWithoutOdds(0);
  h.session->AddToReport(0);
  ASSERT_EQ(ws.REP.RowCount(), 1);
  EXPECT_TRUE(h.session->view().reportUnsaved);
  const Table rep = ws.REP;

  h.session->SignOut();
  const ViewState& view = h.session->view();
  EXPECT_FALSE(view.signedIn);
  EXPECT_TRUE(view.signInEnabled);
  EXPECT_EQ(view.VisibleTabs(), std::vector<std::string>{"About"});
  EXPECT_EQ(view.activePage, kPageAbout);
  for (const auto& [name, table] : ws.Tables())
    EXPECT_EQ(table->RowCount(), name == "REP" ? 1 : 0) << name;
  EXPECT_EQ(ws.REP, rep);
  EXPECT_EQ(ws.u1, "00:00");
  EXPECT_TRUE(ws.DayData.empty());
  EXPECT_FALSE(ws.CourseTable.empty());  // the flags of the next day still come

  // "Обновить" does nothing signed out; signed in again, nothing is listed twice.
  h.session->ReloadMoves();
  EXPECT_EQ(ws.LG.RowCount(), 0);
  ASSERT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  EXPECT_EQ(ws.RT.RowCount(), 2);
  EXPECT_EQ(ws.NX.RowCount(), 2);
  EXPECT_EQ(ws.MM.RowCount(), 2);
  EXPECT_EQ(ws.TIPS.RowCount(), 1);
  EXPECT_EQ(ws.LG.RowCount(), 1);
  EXPECT_EQ(ws.REP, rep);
  EXPECT_EQ(view.activePage, kPageToday);

  // The moves change on the server: "Обновить" shows the new ones, not both.
  vendor.Set("/bc/move.xml",
             "<horse><course>Ascot</course><time>13:30</time><name>Dune</name><kf1>3.5</kf1>"
             "<kf2>5</kf2><precent>-30</precent></horse>"
             "<horse><course>Ascot</course><time>13:30</time><name>Sea Bird</name><kf1>9</kf1>"
             "<kf2>8</kf2><precent>12</precent></horse>");
  h.session->ReloadMoves();
  ASSERT_EQ(ws.LG.RowCount(), 2);
  EXPECT_EQ(ws.LG.Text(0, 4), "3.5");
  EXPECT_EQ(ws.LG.Image(0, 0), 1);  // the course table's flag, as at sign-in
  // A failed load says why and keeps what is shown.
  h.messages.shown.clear();
  vendor.Set("/bc/move.xml", "down", 503);
  h.session->ReloadMoves();
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_NE(h.messages.shown[0].find("503"), std::string::npos) << h.messages.shown[0];
  EXPECT_EQ(ws.LG.RowCount(), 2);
}

TEST_F(SessionTest, FailingTipsFeedIsShownAndTheDayStillLoads) {
  vendor.Set("/bc/tipsters.xml", "down", 500);
  SessionHarness h(vendor.Base());
  Start(h);
  ASSERT_EQ(h.session->SignIn({}), SignInResult::SignedIn);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_NE(h.messages.shown[0].find("500"), std::string::npos) << h.messages.shown[0];
  EXPECT_EQ(h.ws().TIPS.RowCount(), 0);
  EXPECT_EQ(h.ws().LG.RowCount(), 1);  // the moves after it still load
  EXPECT_EQ(h.session->view().activePage, kPageToday);
  EXPECT_EQ(h.ws().glavcount, "Count: 2  ");
}

TEST_F(SessionTest, ResultsAndTheLinkClick) {
  SessionHarness h(vendor.Base());
  Start(h);
  ASSERT_EQ(h.session->SignIn({}), SignInResult::SignedIn);
  h.session->LoadResults("01.12.2026");
  ASSERT_EQ(h.ws().REZ.RowCount(), 1);
  EXPECT_EQ(vendor.Requests().back(), "/horse/rez.php?date=01.12.2026");
  EXPECT_FALSE(h.session->view().vizVisible);
  h.session->OpenResultLink(0);
  EXPECT_EQ(h.browser.opened, std::vector<std::string>{"http://results.example/1"});

  vendor.Set("/horse/rez.php", "broken", 500);
  h.session->LoadResults("01.12.2026");
  EXPECT_EQ(h.ws().REZ.RowCount(), 0);
  EXPECT_TRUE(h.session->view().vizVisible);
}

}  // namespace
}  // namespace trotix
