#pragma once

#include "ui/CDialogScreen.h"

class QCheckBox;

namespace dialogs {

// "Camera Preferences": "Show Edit Dialog", "Stay in camera until cancel" and
// the hidden "Open camera on launch", which keeps the stored value. OK stores
// all three.
class CCameraPrefsDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CCameraPrefsDlg(ui::PhoneScreen& screen, QWidget* owner);

  QCheckBox* ShowEditBox() const { return showEdit_; }
  QCheckBox* StayBox() const { return stay_; }
  QCheckBox* OpenOnLaunchBox() const { return openOnLaunch_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  QCheckBox* showEdit_ = nullptr;
  QCheckBox* stay_ = nullptr;
  QCheckBox* openOnLaunch_ = nullptr;
};

}  // namespace dialogs
