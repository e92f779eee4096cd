#include "dialogs/prefs/CAboutDlg.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/VersionCheck.h"
#include "ui/BitmapResource.h"
#include "ui/DisplayScale.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CAboutDlg::CAboutDlg(ui::PhoneScreen& screen, QWidget* owner)
    : CDialogScreen(screen, owner, ui::Label(s::kAboutTessary), 191) {
  icon_ = new QLabel(Content());
  const int side = ui::DisplayScale::Down(32);
  icon_->setPixmap(QPixmap::fromImage(ui::BitmapResource::ProgramIcon())
                       .scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  Column()->addWidget(icon_, 0, Qt::AlignHCenter);
  version_ = AddText(Column(), s::kAboutVersion, true);
  version_->setText(
      ui::Text(platform::FormatText(s::kAboutVersion, {service::VersionCheck::ProgramVersion()})));
  version_->setAlignment(Qt::AlignHCenter);
}

}  // namespace dialogs
