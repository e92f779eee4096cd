#pragma once

#include "ui/CDialogScreen.h"

namespace dialogs {

// "About Tessary": the program's icon and "Tessary Vers" with its version.
class CAboutDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CAboutDlg(ui::PhoneScreen& screen, QWidget* owner);

  QLabel* IconLabel() const { return icon_; }
  QLabel* VersionLabel() const { return version_; }

 private:
  QLabel* icon_ = nullptr;
  QLabel* version_ = nullptr;
};

}  // namespace dialogs
