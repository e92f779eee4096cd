#include "dialogs/prefs/CCameraPrefsDlg.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "platform/Preferences.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CCameraPrefsDlg::CCameraPrefsDlg(ui::PhoneScreen& screen, QWidget* owner)
    : CDialogScreen(screen, owner, ui::Label(s::kCameraPreferences), 190) {
  showEdit_ = AddCheck(Column(), s::kShowEditDialog);
  stay_ = AddCheck(Column(), s::kStayInCameraUntilCancel);
  openOnLaunch_ = AddCheck(Column(), s::kOpenCameraOnLaunch);
  openOnLaunch_->hide();
}

void CCameraPrefsDlg::OnInitDialog() {
  showEdit_->setChecked(platform::ReadShowEditDialog());
  stay_->setChecked(platform::ReadStayInCamera());
  openOnLaunch_->setChecked(platform::ReadOpenCameraOnLaunch());
  showEdit_->setFocus();
}

void CCameraPrefsDlg::OnOK() {
  platform::WriteShowEditDialog(showEdit_->isChecked());
  platform::WriteOpenCameraOnLaunch(openOnLaunch_->isChecked());
  platform::WriteStayInCamera(stay_->isChecked());
  EndDialog(kOk);
}

}  // namespace dialogs
