#pragma once

#include <cstdint>

#include "model/ShareSubject.h"
#include "ui/CDialogScreen.h"

class QLineEdit;
class QPlainTextEdit;

namespace model {
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model

namespace ui {
class SpinList;
}

namespace dialogs {

// "Post Remote Entry": the service posts an entry, or a link to a category, to
// one of the account's remote blogs, with a title and a text the user may
// change. The list opens on "Last Remote Blog"; Publish keeps the choice there,
// sends and closes whatever the outcome.
class CPostRemoteEntryDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  static constexpr int kMaxTitle = 49;
  static constexpr int kMaxPost = 7999;

  CPostRemoteEntryDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user,
                      model::CWinBlogStorage& blog, model::ShareSubject subject);

  ui::SpinList* BlogList() const { return blogs_; }
  QLineEdit* TitleField() const { return title_; }
  QPlainTextEdit* PostField() const { return post_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  void showEvent(QShowEvent* event) override;

 private:
  // Keeps the post within its length, as a field with a limit refuses more.
  void LimitPost();

  model::CWinBlogUser& user_;
  model::CWinBlogStorage& blog_;
  model::ShareSubject subject_;
  ui::SpinList* blogs_ = nullptr;
  QLineEdit* title_ = nullptr;
  QPlainTextEdit* post_ = nullptr;
};

}  // namespace dialogs
