#pragma once

#include "ui/CDialogScreen.h"

class QCheckBox;

namespace dialogs {

// "New Version Available": a newer version found by the version check, with
// "Dont show again". Ends with OK (1) or Download (1037).
class CNewVersionDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CNewVersionDlg(ui::PhoneScreen& screen, QWidget* owner, const QString& version);

  bool DontShowAgain() const;
  QCheckBox* DontShowAgainBox() const { return dontShow_; }
  QLabel* VersionLabel() const { return version_; }
  void OnCommand(uint32_t command) override;

 private:
  QLabel* version_ = nullptr;
  QCheckBox* dontShow_ = nullptr;
};

}  // namespace dialogs
