#pragma once

#include "ui/CDialogScreen.h"

class QLabel;

namespace model {
class CWinBlogUser;
}

namespace dialogs {

// "Account Info": shows and changes the stored e-mail address and password and
// shows the account's level. The password is never shown: the field holds one
// "*" per character, and only other text counts as a new password. A changed
// login makes the next sync of every blog a full one and is saved at once.
class CAccountInfoDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CAccountInfoDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user);

  QLineEdit* EmailField() const { return email_; }
  QLineEdit* PasswordField() const { return password_; }
  QLabel* AccountLabel() const { return accountLabel_; }
  QLabel* LevelLabel() const { return level_; }
  QLabel* LimitLabel() const { return limit_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  QString PasswordMask() const;

  model::CWinBlogUser& user_;
  QLineEdit* email_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLabel* accountLabel_ = nullptr;
  QLabel* level_ = nullptr;
  QLabel* limit_ = nullptr;
};

}  // namespace dialogs
