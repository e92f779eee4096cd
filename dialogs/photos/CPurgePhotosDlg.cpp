#include "dialogs/photos/CPurgePhotosDlg.h"

#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

CPurgePhotosDlg::CPurgePhotosDlg(ui::PhoneScreen& screen, QWidget* owner)
    : CDialogScreen(screen, owner, ui::Label(platform::strings::kDeletePhotosTitle), 190) {
  AddText(Column(), platform::strings::kAskPurgePhotos);
}

}  // namespace dialogs
