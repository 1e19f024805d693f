#pragma once
// "About": the picture, the sign-in fields with "ВХОД", the version and the site's address.
#include <QWidget>
#include <string>

#include "app/session.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace trotix::gui {

class SignInPage : public QWidget {
  Q_OBJECT
 public:
  explicit SignInPage(const std::string& webSite, QWidget* parent = nullptr);

  SignInForm Form() const;
  void Fill(const SignInForm& form);
  // The fields stay editable until a sign-in succeeds.
  void ShowView(const ViewState& view);
  void SetIdle(bool idle);

 signals:
  void signInRequested(const trotix::SignInForm& form);
  void siteLinkActivated(const QString& address);

 private:
  void UpdateButton();

  QLineEdit* login_;
  QLineEdit* password_;
  QCheckBox* rememberMe_;
  QPushButton* signIn_;
  bool fieldsEnabled_ = true;
  bool idle_ = true;
};

}  // namespace trotix::gui
