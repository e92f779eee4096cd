#pragma once

#include <memory>

#include "ui/CDialogScreen.h"

namespace model {
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model

namespace dialogs {

// "Create Blog": a further blog of the account, made on the service from its
// Blog URL, title and subtitle. Stays open after any refusal or service error;
// ends with OK and the new database (not yet saved nor in the account's list).
class CNewBlogDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CNewBlogDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user);
  ~CNewBlogDlg() override;

  std::unique_ptr<model::CWinBlogStorage> TakeBlog();

  QLineEdit* UrlField() const { return url_; }
  QLineEdit* TitleField() const { return title_; }
  QLineEdit* SubtitleField() const { return subtitle_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  model::CWinBlogUser& user_;
  QLineEdit* url_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* subtitle_ = nullptr;
  std::unique_ptr<model::CWinBlogStorage> blog_;
};

}  // namespace dialogs
