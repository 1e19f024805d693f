#pragma once
// "Systems": a system of the user's own edited (weights, race and runner filters, selection),
// its figures over the stored runners refreshed as it changes, whole and split at a day into
// in-sample and out-of-sample with a warning when the second falls well below; save, rename,
// delete.
#include <QWidget>
#include <array>
#include <memory>

#include "app/session.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace trotix::gui {

class SystemsPage : public QWidget {
  Q_OBJECT
 public:
  explicit SystemsPage(QWidget* parent = nullptr);

  void ShowReport(const std::shared_ptr<const SystemsReport>& report);
  void SetIdle(bool idle);
  // The rule as the fields stand.
  systems::Rule EditedRule() const;
  SystemsQuery Query() const;

 signals:
  // When the page comes to the front and a little after each change.
  void figuresRequested(const trotix::SystemsQuery& query);
  void saveRequested(const std::string& name, const trotix::systems::Rule& rule,
                     const trotix::SystemsQuery& query);
  void renameRequested(const std::string& from, const std::string& to,
                       const trotix::SystemsQuery& query);
  void deleteRequested(const std::string& name, const trotix::SystemsQuery& query);
  // Stored days analysed before runners were kept, replayed for them.
  void fillRequested(const trotix::SystemsQuery& query);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Changed();
  void Load(const SystemEntry& system);
  void ShowFigures(const SystemsReport& report);

  std::shared_ptr<const SystemsReport> report_;
  systems::Rule loaded_;  // what the fields do not show (a part's least value) comes from here
  bool idle_ = true;
  bool wanted_ = false;   // figures were asked for while the worker ran
  bool filling_ = false;  // the fields are being filled, not changed by the user
  QTimer* refresh_;
  QComboBox* saved_;
  QLineEdit* name_;
  QPushButton* save_;
  QPushButton* rename_;
  QPushButton* delete_;
  std::array<QDoubleSpinBox*, kPartCount> weights_{};
  QLineEdit* courses_;
  QLineEdit* classes_;
  QSpinBox* runnersMin_;
  QSpinBox* runnersMax_;
  QLineEdit* timeFrom_;
  QLineEdit* timeTo_;
  QDoubleSpinBox* priceMin_;
  QDoubleSpinBox* priceMax_;
  QComboBox* select_;
  QDoubleSpinBox* selectValue_;
  QLineEdit* from_;
  QLineEdit* to_;
  QLineEdit* split_;
  QTableWidget* figures_;
  QLabel* warning_;
  QLabel* note_;
  QLabel* stored_;
  QPushButton* fill_;
};

}  // namespace trotix::gui
