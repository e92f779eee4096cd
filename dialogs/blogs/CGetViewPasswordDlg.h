#pragma once

#include <string>

#include "ui/CDialogScreen.h"

namespace dialogs {

// "Password Required": the view password of a password-protected blog, asked
// for when the service refuses the blog's change list without it. OK needs a
// password; the blog's record keeps what was entered.
class CGetViewPasswordDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CGetViewPasswordDlg(ui::PhoneScreen& screen, QWidget* owner, const QString& blogName);

  // The password typed, as model text.
  std::string Password() const { return FieldText(*password_); }
  QLineEdit* PasswordField() const { return password_; }
  QLabel* BlogNameLabel() const { return blogName_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  QLabel* blogName_ = nullptr;
  QLineEdit* password_ = nullptr;
};

}  // namespace dialogs
