#pragma once

#include <QString>
#include <cstdint>

#include "ui/CDialogScreen.h"

namespace model {
class CWinBlogComment;
class CWinBlogEntry;
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model

namespace dialogs {

class CCommentsListBox;

// "Comments": the comments of one published entry, oldest first, filling the
// screen. Tools: "Add" writes a new one (kept in the database and sent at once
// over its own connection; one that cannot be sent goes with the next sync),
// "Delete" removes the selected one (on the service at the next sync), and on
// systems before version 5, whose list shows only the texts, "View" shows one
// in full. Opening the screen clears the entry's new-comments mark.
class CCommentsDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CCommentsDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user, model::CWinBlogStorage& blog,
               model::CWinBlogEntry& entry);

  CCommentsListBox* List() const { return list_; }
  void OnCommand(uint32_t command) override;

 protected:
  void OnInitDialog() override;

 private:
  // The list's text of a comment: in full from version 5 on, else the text alone.
  QString ItemText(const model::CWinBlogComment& comment, uint32_t now) const;
  void Add();
  void Delete();
  void View();

  model::CWinBlogUser& user_;
  model::CWinBlogStorage& blog_;
  model::CWinBlogEntry& entry_;
  bool fullItems_;
  CCommentsListBox* list_ = nullptr;
};

}  // namespace dialogs
