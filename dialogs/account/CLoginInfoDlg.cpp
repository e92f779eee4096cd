#include "dialogs/account/CLoginInfoDlg.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "model/CWinBlogUser.h"
#include "platform/StringTable.h"
#include "ui/MessageBox.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CLoginInfoDlg::CLoginInfoDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user)
    : CDialogScreen(screen, owner, ui::Label(s::kEnterLoginInfo), 189),
      user_(user) {
  AddText(Column(), s::kLoginText);
  AddLoginFields(Column(), email_, password_);
}

void CLoginInfoDlg::OnInitDialog() { email_->setFocus(); }

void CLoginInfoDlg::OnOK() {
  const std::string email = FieldText(*email_);
  if (email.empty()) {
    ui::MessageBox::Show(platform::LoadString(s::kBadLogin), ui::MessageBox::Icon::Exclamation);
    return;
  }
  user_.SetEmail(email);
  user_.SetPassword(FieldText(*password_));
  user_.credentialsChanged = true;
  EndDialog(kOk);
}

}  // namespace dialogs
