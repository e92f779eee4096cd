#pragma once

#include <string>

#include "ui/CDialogScreen.h"

namespace model {
class CWinBlogUser;
}

namespace dialogs {

// "Create New Account": a three-step wizard on one screen. Step 1 takes the
// e-mail address and a password, step 2 the user's name and creates the account
// on the service, step 3 the Blog URL, title and subtitle of the first blog and
// creates it. Only the current step's group is shown (hidden groups are also
// disabled). Ends with OK once the wizard is done, else Cancel.
class CCreateAccountDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  enum class Step { Login = 1, Name = 2, Blog = 3, Done = 4 };

  CCreateAccountDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user);

  Step CurrentStep() const { return step_; }
  // A blog database was made and added to the account's list.
  bool BlogCreated() const { return blogCreated_; }

  QLineEdit* EmailField() const { return email_; }
  QLineEdit* PasswordField() const { return password_; }
  QLineEdit* FirstNameField() const { return firstName_; }
  QLineEdit* LastNameField() const { return lastName_; }
  QLineEdit* BlogUrlField() const { return blogUrl_; }
  QLineEdit* TitleField() const { return title_; }
  QLineEdit* SubtitleField() const { return subtitle_; }
  QWidget* StepGroup(Step step) const;

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void ShowStep(Step step);
  void CreateAccount();
  void CreateBlog();

  model::CWinBlogUser& user_;
  Step step_ = Step::Login;
  bool blogCreated_ = false;
  bool keepLogin_ = false;
  // The login the account had when the wizard opened, given back when the
  // wizard is cancelled before an account came of it.
  std::string savedEmail_;
  std::string savedPassword_;

  QWidget* groups_[3] = {};
  QLineEdit* email_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLineEdit* firstName_ = nullptr;
  QLineEdit* lastName_ = nullptr;
  QLineEdit* blogUrl_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* subtitle_ = nullptr;
};

}  // namespace dialogs
