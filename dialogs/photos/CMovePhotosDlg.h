#pragma once

#include <string>
#include <vector>

#include "ui/CDialogScreen.h"

namespace ui {
class SpinList;
}

namespace dialogs {

// "Move Photos": where the photos are moved from and to, "Internal" (the root,
// "\") or one of the storage cards (their folders). OK refuses the same place
// twice.
class CMovePhotosDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CMovePhotosDlg(ui::PhoneScreen& screen, QWidget* owner, std::vector<std::string> cards);

  // The chosen locations once the screen closed with OK.
  const std::string& SourceRoot() const { return source_; }
  const std::string& DestinationRoot() const { return destination_; }
  ui::SpinList* SourceList() const { return sourceList_; }
  ui::SpinList* DestinationList() const { return destinationList_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  std::vector<std::string> locations_;
  ui::SpinList* sourceList_ = nullptr;
  ui::SpinList* destinationList_ = nullptr;
  std::string source_;
  std::string destination_;
};

}  // namespace dialogs
