#pragma once
// What the Session decides about the window's controls: which pages show, which buttons are
// enabled, and what start-up puts into the input fields. Front ends show it; the core's other
// layers never see it.
#include <string>
#include <vector>

namespace trotix {

// Pages of the page control, by index.
enum Page : int {
  kPageToday = 0,
  kPageSelectCourse = 1,
  kPageStatsHorse = 2,
  kPageScalpOdds = 3,
  kPageIndicatorBF = 4,
  kPageZorvat = 5,
  kPageTips = 6,
  kPageResult = 7,
  kPageReport = 8,
  kPageProof = 9,  // the window's alone: the command line has `proof` instead
  kPageAbout = 10,
  kPageAllTable = 11,
  kPageCount = 12
};

const char* PageCaption(int page);

struct ViewState {
  ViewState() { tabVisible[kPageAbout] = true; }

  bool tabVisible[kPageCount] = {};
  // The page the last command that changes pages brought to the front, and how many such
  // commands ran: a front end tells a new request for the page already in front from none.
  int activePage = kPageAbout;
  int pageRequests = 0;

  void BringToFront(int page) {
    activePage = page;
    ++pageRequests;
  }
  bool signedIn = false;
  bool signInEnabled = true;  // the login and password fields and "Remember me"
  bool tvbuttonEnabled = false;
  bool bfbuttonEnabled = false;
  bool vizVisible = false;  // "No Information" after a results load found nothing

  // The MM row of the race whose card, header and figures ALL TABLE holds; -1 for none.
  int raceOnScreen = -1;
  // What the analysis on screen took its exchange figures from: "exchange prices hh:mm:ss"
  // (when they were fetched) or "without exchange prices"; empty before any analysis.
  std::string exchangePrices;

  // The sign-in fields as start-up fills them from the remember-me file.
  std::string login, password;
  bool rememberMe = false;
  // The results date field; start-up puts today's date there, and "LOAD" takes it.
  std::string resultsDate;

  // What went wrong without stopping anything and needs no message box (a start-up file left
  // unread, the address a failed connection was made to), oldest first, for a status line.
  std::vector<std::string> notes;

  // The file the last save wrote (the report, its CSV, the video page) and how many saves
  // succeeded, so a front end tells a new save of the same file from none.
  std::string savedFile;
  int saves = 0;
  // REP holds rows that no save has written since they changed.
  bool reportUnsaved = false;

  // Captions of the visible tabs, in page order.
  std::vector<std::string> VisibleTabs() const;
};

}  // namespace trotix
