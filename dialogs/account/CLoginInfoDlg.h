#pragma once

#include "ui/CDialogScreen.h"

namespace model {
class CWinBlogUser;
}

namespace dialogs {

// "Enter Login Info": e-mail address and password of an existing account. On
// Next (or OK) they are stored in the account, marked as new credentials.
class CLoginInfoDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CLoginInfoDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user);

  QLineEdit* EmailField() const { return email_; }
  QLineEdit* PasswordField() const { return password_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  model::CWinBlogUser& user_;
  QLineEdit* email_ = nullptr;
  QLineEdit* password_ = nullptr;
};

}  // namespace dialogs
