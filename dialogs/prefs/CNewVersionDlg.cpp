#include "dialogs/prefs/CNewVersionDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CNewVersionDlg::CNewVersionDlg(ui::PhoneScreen& screen, QWidget* owner, const QString& version)
    : CDialogScreen(screen, owner, ui::Label(s::kNewVersionAvailable), 196) {
  AddText(Column(), s::kNewVersionText);
  version_ = AddText(Column(), s::kNewVersionLine);
  version_->setText(ui::Text(platform::FormatText(s::kNewVersionLine, {ui::Utf8(version)})));
  dontShow_ = new QCheckBox(ui::Label(s::kDontShowAgain), Content());
  Column()->addWidget(dontShow_);
}

bool CNewVersionDlg::DontShowAgain() const { return dontShow_->isChecked(); }

void CNewVersionDlg::OnCommand(uint32_t command) {
  if (command == ui::commands::kDialogDownload) {
    EndDialog(static_cast<int>(ui::commands::kDialogDownload));
    return;
  }
  CDialogScreen::OnCommand(command);
}

}  // namespace dialogs
