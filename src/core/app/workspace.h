#pragma once
// Every table, label and run-wide list of the window, as plain data. Parts hand their results to
// each other through these, exactly as the window's controls do.
#include <string>
#include <utility>
#include <vector>

#include "table/table.h"

namespace trotix {

// Page indexes of the page control.
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
  kPageAbout = 9,
  kPageAllTable = 10,
  kPageCount = 11
};

// Captions of the pages, by index.
const char* PageCaption(int page);

// What a window shows: every grid, label and control state.
struct WorkspaceView {
  WorkspaceView();

  // Grids, by their system names.
  Table RT, LG, T1, T2, NX, RF, H, TIPS, REZ, REP, MM, TAB, R, RR;

  // Labels.
  std::string glavcount = "Count: 0";
  std::string u1 = "00:00", u2 = "Course:", u3 = "Prize: $",
              u4 = "Name:", u5 = "Count:", u6 = "Distance:", u7 = "Type:", u8 = "Summ Betfair:";
  std::string bfnumber;
  std::string ind1 = "0", ind2 = "0";
  std::string spSkinLabel3, spSkinLabel4;  // time and course of the exchange race
  std::string e1, e2, e3;                  // Zorvat race name, time, course

  // Controls whose state the system reads or sets.
  std::string loginedit, passedit, datas;
  bool zap = false;           // "Remember me"
  bool signInEnabled = true;  // loginedit, passedit and zap
  bool tvbuttonEnabled = false;
  bool bfbuttonEnabled = false;
  bool rkef = true;         // "From Real Odds"
  bool vizVisible = false;  // "No Information" panel of "Result"
  bool tabVisible[kPageCount] = {};
  int activePage = kPageAbout;
  bool signedIn = false;

  std::string LoginName, LoginPassword;
  int ReportRow = -1;
  // What went wrong without stopping anything and needs no message box (a start-up file left
  // unread), oldest first, for a status line.
  std::vector<std::string> notes;

  // Name and table of every grid, for front ends that show or print them all.
  std::vector<std::pair<std::string, const Table*>> Tables() const;
  std::vector<std::pair<std::string, Table*>> Tables();
  // Name and caption of every label.
  std::vector<std::pair<std::string, std::string>> Labels() const;
  // Captions of the visible tabs, in page order.
  std::vector<std::string> VisibleTabs() const;
};

// The view plus the run-wide lists: the day's text and the reference tables, large and never
// shown, so a window's snapshot copies only the view.
struct Workspace : WorkspaceView {
  std::vector<std::string> DayData, CourseTable, IndicatorList, ProcessBase, ScoreBase;

  WorkspaceView& view() { return *this; }
  const WorkspaceView& view() const { return *this; }
};

}  // namespace trotix
