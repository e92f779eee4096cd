#pragma once

#include <cstdint>

#include "ui/CDialogScreen.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace model {
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model

namespace dialogs {

// "Photo E-Mail": the service mails a link to a photo (an entry) or to the blog
// (a category of it) to the addresses typed or picked from the contacts with
// "To:", with a message. OK sends and closes whatever the outcome; the failures
// are reported where they happen.
class CPhotoEmailDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CPhotoEmailDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                 uint32_t categoryId, uint32_t entryId);

  QLabel* LinkLabel() const { return link_; }
  QPushButton* ToButton() const { return to_; }
  QLineEdit* AddressField() const { return address_; }
  QPlainTextEdit* MessageField() const { return message_; }

  // "To:": an address from the contacts, added after those in the field.
  void ChooseContact();

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  model::CWinBlogUser& user_;
  model::CWinBlogStorage& blog_;
  uint32_t categoryId_;
  uint32_t entryId_;
  QLabel* link_ = nullptr;
  QPushButton* to_ = nullptr;
  QLineEdit* address_ = nullptr;
  QPlainTextEdit* message_ = nullptr;
};

}  // namespace dialogs
