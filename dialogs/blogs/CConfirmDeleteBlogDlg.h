#pragma once

#include "ui/CDialogScreen.h"

class QCheckBox;

namespace dialogs {

// "Confirm Delete": whether to remove a blog from the device (it stays on the
// web), and whether its photos on the device go too.
class CConfirmDeleteBlogDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CConfirmDeleteBlogDlg(ui::PhoneScreen& screen, QWidget* owner);

  bool DeletePhotos() const;
  QCheckBox* DeletePhotosBox() const { return deletePhotos_; }

 private:
  QCheckBox* deletePhotos_ = nullptr;
};

}  // namespace dialogs
