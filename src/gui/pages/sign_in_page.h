#pragma once
// "About": the picture, the sign-in fields with "ВХОД", the version and the site's address; and
// the archive's panel: the stored days to replay, whether to keep today's answers, and in demo
// mode a history of past demo days.
#include <QWidget>
#include <string>
#include <vector>

#include "app/session.h"

class QCheckBox;
class QLabel;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;

namespace trotix::gui {

class SignInPage : public QWidget {
  Q_OBJECT
 public:
  explicit SignInPage(const std::string& webSite, QWidget* parent = nullptr);

  SignInForm Form() const;
  void Fill(const SignInForm& form);
  // The vendor's site the link names, after the settings change it.
  void SetWebSite(const std::string& webSite);
  // The fields stay editable until a sign-in succeeds.
  void ShowView(const ViewState& view);
  void SetIdle(bool idle);

  // Shows the archive's panel; `demo` adds the demo history button.
  void ShowArchive(bool demo);
  void SetStoredDays(const std::vector<Date>& days);
  // Focus where the user goes on: the first empty field, else "ВХОД", so Enter signs in.
  void FocusFirstStep();
  // "Keep today's answers" as ticked.
  bool KeepAnswers() const;
  void SetKeepAnswers(bool keep);

 signals:
  void signInRequested(const trotix::SignInForm& form);
  void siteLinkActivated(const QString& address);
  void settingsRequested();
  void replayRequested(const trotix::Date& day);
  void demoHistoryRequested(int days);

 protected:
  // The picture is drawn afresh for the page's size; Enter on "Remember me" signs in.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateButton();

  QLineEdit* login_;
  QLineEdit* password_;
  QCheckBox* rememberMe_;
  QPushButton* signIn_;
  QLabel* background_;
  QLabel* siteLink_;
  QFrame* archive_;
  QComboBox* storedDays_;
  QPushButton* replay_;
  QCheckBox* keepAnswers_;
  QPushButton* demoHistory_;
  std::vector<Date> days_;
  bool fieldsEnabled_ = true;
  bool idle_ = true;
};

}  // namespace trotix::gui
