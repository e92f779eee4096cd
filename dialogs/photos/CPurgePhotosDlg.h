#pragma once

#include "ui/CDialogScreen.h"

namespace dialogs {

// "Delete Photos": asks whether the photo files of every entry shown go, the
// entries keeping their thumbnails. OK or Cancel.
class CPurgePhotosDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CPurgePhotosDlg(ui::PhoneScreen& screen, QWidget* owner);
};

}  // namespace dialogs
