#include "dialogs/account/CWelcomeDlg.h"

#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CWelcomeDlg::CWelcomeDlg(ui::PhoneScreen& screen, QWidget* owner)
    : CDialogScreen(screen, owner, ui::Label(s::kProgramTitle), 189) {
  AddText(Column(), s::kWelcomeHeading, true);
  AddText(Column(), s::kWelcomeText);
  create_ = AddRadio(Column(), s::kCreateNewAccount);
  login_ = AddRadio(Column(), s::kEnterLoginInfo);
}

void CWelcomeDlg::OnInitDialog() {
  create_->setChecked(true);
  create_->setFocus();
}

void CWelcomeDlg::ReadChoice() {
  choice_ = login_->isChecked() ? Choice::EnterLoginInfo : Choice::CreateAccount;
}

void CWelcomeDlg::OnCommand(uint32_t command) {
  if (command == ui::commands::kNext || command == ui::commands::kOk) {
    ReadChoice();
    EndDialog(static_cast<int>(ui::commands::kNext));
  } else if (command == ui::commands::kCancel) {
    ReadChoice();
    EndDialog(kCancel);
  }
}

}  // namespace dialogs
