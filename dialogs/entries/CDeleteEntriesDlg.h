#pragma once

#include "ui/CDialogScreen.h"

class QCheckBox;
class QLabel;

namespace dialogs {

// "Delete Entries": confirms deleting all entries shown or, in single mode, one
// entry, with two choices: delete on the web, and delete the photo on the
// device. Deleting on the web is not offered when it is not allowed
// (web-locked: a note says the entries stay on the web) or for an entry never
// published.
class CDeleteEntriesDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CDeleteEntriesDlg(ui::PhoneScreen& screen, QWidget* owner, bool single, bool webLocked, bool pending);

  bool DeleteOnWeb() const { return deleteOnWeb_; }
  bool DeletePhoto() const { return deletePhoto_; }
  QCheckBox* WebBox() const { return web_; }
  QCheckBox* PhotoBox() const { return photo_; }
  QLabel* Note() const { return note_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  bool single_;
  bool webLocked_;
  bool pending_;
  bool deleteOnWeb_ = false;
  bool deletePhoto_ = false;
  QLabel* question_ = nullptr;
  QCheckBox* web_ = nullptr;
  QLabel* note_ = nullptr;
  QCheckBox* photo_ = nullptr;
};

}  // namespace dialogs
