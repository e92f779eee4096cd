#pragma once

#include "ui/CDialogScreen.h"

class QRadioButton;

namespace dialogs {

// The first screen of a user without a login: create a new account or enter the
// login of an existing one. Ends with Next (1031) or Cancel; both read the choice.
class CWelcomeDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  enum class Choice { CreateAccount, EnterLoginInfo };

  CWelcomeDlg(ui::PhoneScreen& screen, QWidget* owner);

  Choice GetChoice() const { return choice_; }
  QRadioButton* CreateButton() const { return create_; }
  QRadioButton* LoginButton() const { return login_; }

  void OnCommand(uint32_t command) override;

 protected:
  void OnInitDialog() override;

 private:
  void ReadChoice();

  QRadioButton* create_ = nullptr;
  QRadioButton* login_ = nullptr;
  Choice choice_ = Choice::CreateAccount;
};

}  // namespace dialogs
