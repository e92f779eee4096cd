#include "dialogs/photos/CMovePhotosDlg.h"

#include <QVBoxLayout>

#include "platform/DeviceFileSystem.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/MessageBox.h"
#include "ui/QtText.h"
#include "ui/SpinList.h"

namespace dialogs {

namespace s = platform::strings;

CMovePhotosDlg::CMovePhotosDlg(ui::PhoneScreen& screen, QWidget* owner, std::vector<std::string> cards)
    : CDialogScreen(screen, owner, ui::Label(s::kMovePhotos), 190) {
  locations_.push_back("\\");
  for (std::string& card : cards) locations_.push_back(std::move(card));
  AddText(Column(), s::kMoveFromLabel);
  sourceList_ = new ui::SpinList(Content());
  Column()->addWidget(sourceList_);
  AddText(Column(), s::kToLabel);
  destinationList_ = new ui::SpinList(Content());
  Column()->addWidget(destinationList_);
}

void CMovePhotosDlg::OnInitDialog() {
  for (ui::SpinList* list : {sourceList_, destinationList_}) {
    for (size_t i = 0; i < locations_.size(); ++i) {
      const QString name = i == 0 ? ui::Label(s::kInternalStorage) : ui::Text(platform::PhoneFileName(locations_[i]));
      list->AddItem(name, static_cast<uint32_t>(i));
    }
  }
  sourceList_->setCurrentIndex(0);
  destinationList_->setCurrentIndex(locations_.size() > 1 ? 1 : 0);
  sourceList_->setFocus();
}

void CMovePhotosDlg::OnOK() {
  const uint32_t from = sourceList_->CurrentData();
  const uint32_t to = destinationList_->CurrentData();
  if (from == to) {
    ui::MessageBox::Show(platform::LoadString(s::kSameLocation), ui::MessageBox::Icon::Exclamation);
    return;
  }
  source_ = locations_[from];
  destination_ = locations_[to];
  EndDialog(kOk);
}

}  // namespace dialogs
