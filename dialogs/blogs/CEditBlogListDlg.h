#pragma once

#include "ui/CDialogScreen.h"

class QListWidget;

namespace model {
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model

namespace dialogs {

// "Edit Blogs": the account's blogs by display name, in alphabetical order.
// Tools: "Unsubscribe" removes the selected blog from the device after Confirm
// Delete (it stays on the web); "Blog Prefs" opens its preferences, and their
// OK saves the blog at once.
class CEditBlogListDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CEditBlogListDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user);

  QListWidget* List() const { return list_; }
  void OnCommand(uint32_t command) override;

 protected:
  void OnInitDialog() override;

 private:
  model::CWinBlogStorage* Selected() const;
  void Unsubscribe();
  void BlogPrefs();

  model::CWinBlogUser& user_;
  QListWidget* list_ = nullptr;
};

}  // namespace dialogs
