#pragma once
// "About": the picture, the sign-in fields with "ВХОД", the version and the site's address.
#include <QWidget>
#include <string>

#include "app/session.h"

class QCheckBox;
class QLabel;
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

 signals:
  void signInRequested(const trotix::SignInForm& form);
  void siteLinkActivated(const QString& address);
  void settingsRequested();

 protected:
  // The picture is drawn afresh for the page's size.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateButton();

  QLineEdit* login_;
  QLineEdit* password_;
  QCheckBox* rememberMe_;
  QPushButton* signIn_;
  QLabel* background_;
  QLabel* siteLink_;
  bool fieldsEnabled_ = true;
  bool idle_ = true;
};

}  // namespace trotix::gui
