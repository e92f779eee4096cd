#include "dialogs/photos/CDownloadPhotoDlg.h"

#include <QVBoxLayout>

#include "model/ModelConstants.h"
#include "platform/Preferences.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"
#include "ui/SpinList.h"

namespace dialogs {

namespace s = platform::strings;

CDownloadPhotoDlg::CDownloadPhotoDlg(ui::PhoneScreen& screen, QWidget* owner, uint8_t currentSize)
    : CDialogScreen(screen, owner, ui::Label(s::kDownloadPhoto), 190), current_(currentSize) {
  AddText(Column(), s::kDownloadLabel);
  sizes_ = new ui::SpinList(Content());
  Column()->addWidget(sizes_);
}

void CDownloadPhotoDlg::OnInitDialog() {
  struct Row {
    uint32_t label;
    uint8_t code;
  };
  static constexpr Row kSizes[] = {{s::kLabel176x132, model::kSize176x132}, {s::kLabel240x180, model::kSize240x180},
                                   {s::kLabel320x240, model::kSize320x240}, {s::kLabel480x360, model::kSize480x360},
                                   {s::kLabel640x480, model::kSize640x480}, {s::kFullSize, model::kSizeFull}};
  for (const Row& row : kSizes) sizes_->AddItem(ui::Label(row.label), row.code);
  uint32_t code = current_;
  if (!platform::IsDownloadPhotoSize(code)) code = platform::ReadDownloadPhotoSize();
  if (!platform::IsDownloadPhotoSize(code)) code = model::kSize480x360;
  sizes_->SelectData(code);
  sizes_->setFocus();
}

void CDownloadPhotoDlg::OnOK() {
  size_ = static_cast<uint8_t>(sizes_->CurrentData());
  platform::WriteDownloadPhotoSize(size_);
  EndDialog(kOk);
}

}  // namespace dialogs
