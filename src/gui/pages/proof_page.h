#pragma once
// "Proof": how each selection method has done over a date range and a course, the live picks
// and a back-test run beside them. One row of figures per method with their uncertainty said in
// words and what they are taken against, the bank of each beneath for the staking chosen,
// the figures by a breakdown, a method's picks with the running total on a
// double-click (and as CSV), and "Back-test" over the stored days of the range.
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/proof_figures.h"

class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace trotix::gui {

class ProofPage : public QWidget {
  Q_OBJECT
 public:
  explicit ProofPage(QWidget* parent = nullptr);

  // The figures the last command left; the same report again changes nothing.
  void ShowReport(const std::shared_ptr<const ProofReport>& report);
  // Controls follow the window's worker; figures asked for while it runs are asked for again
  // once it is idle.
  void SetIdle(bool idle);
  // The settings' commission on winnings, as a fraction.
  void SetCommission(double commission);
  // Asks for the figures as the filters stand.
  void Refresh();
  ProofQuery Query() const;

 signals:
  // Whenever the page comes to the front, and when a filter changes.
  void figuresRequested(const trotix::ProofQuery& query);
  void backtestRequested(const trotix::Date& from, const trotix::Date& to);
  void exportRequested(long long runId, const std::string& method);
  // The record: its events exported for anyone to check, and the line to publish before racing.
  void recordExportRequested();
  void digestRequested();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowFilters(const ProofReport& report);
  void ShowMethods(const ProofReport& report);
  // The bank of each method for the chosen staking by day, the selected row's drawdown shaded.
  void ShowCurves(const ProofReport& report);
  // The figures by the breakdown chosen, every side's groups.
  void ShowGroups(const ProofReport& report);
  // The picks of `method` in the figures of run `runId` (0: the live ones).
  void ShowPicks(long long runId, const std::string& method);
  // The figures of methods_'s row `row` in words.
  void ShowSummary(int row);

  std::shared_ptr<const ProofReport> report_;
  double commission_ = 0.05;
  bool idle_ = true;
  bool wanted_ = false;       // figures were asked for while the worker ran
  bool datesChosen_ = false;  // by the user: until then the range is the whole ledger
  bool filling_ = false;      // the filters are being filled, not changed by the user
  bool showQueued_ = false;   // a refresh for the page coming to the front is on its way

  QDateEdit* from_;
  QDateEdit* to_;
  QComboBox* method_;
  QComboBox* course_;
  QComboBox* run_;
  QComboBox* breakdown_;
  QComboBox* staking_;
  QPushButton* backtest_;
  QLabel* record_;
  QPushButton* exportRecord_;
  QPushButton* digest_;
  QTableWidget* methods_;
  QLabel* summary_;
  QTabWidget* views_;
  QChartView* chart_;
  QLabel* picksCaption_;
  QPushButton* export_;
  QTableWidget* picks_;
  QTableWidget* groups_;
  // What each row of methods_ shows: its run (0 for the live picks) and method.
  std::vector<std::pair<long long, std::string>> rows_;
  long long picksRun_ = 0;
  std::string picksMethod_;  // empty while no list is shown
};

}  // namespace trotix::gui
