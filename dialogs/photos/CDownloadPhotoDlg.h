#pragma once

#include <cstdint>

#include "ui/CDialogScreen.h"

namespace ui {
class SpinList;
}

namespace dialogs {

// "Download Photo": the size at which the viewed entry's photo is fetched again.
// It opens on the size the entry has, else on the "Download Photo Size"
// preference, else on 480x360; OK keeps the choice in that preference.
class CDownloadPhotoDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CDownloadPhotoDlg(ui::PhoneScreen& screen, QWidget* owner, uint8_t currentSize);

  // The chosen size code once the screen closed with OK.
  uint8_t Size() const { return size_; }
  ui::SpinList* SizeList() const { return sizes_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  uint8_t current_;
  uint8_t size_ = 0;
  ui::SpinList* sizes_ = nullptr;
};

}  // namespace dialogs
