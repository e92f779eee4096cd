#include "dialogs/account/CAccountInfoDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "model/CWinBlogUser.h"
#include "platform/StringTable.h"
#include "ui/MessageBox.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CAccountInfoDlg::CAccountInfoDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user)
    : CDialogScreen(screen, owner, ui::Label(s::kAccountInfo), 190),
      user_(user) {
  AddText(Column(), s::kAccountInfoText);
  AddLoginFields(Column(), email_, password_);
  // "Account:" with the level and the photo limit stacked beside it.
  auto* row = new QHBoxLayout();
  accountLabel_ = AddText(row, s::kAccountLabel);
  accountLabel_->setWordWrap(false);
  accountLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* levels = new QVBoxLayout();
  levels->setSpacing(0);
  level_ = AddText(levels, s::kTrial);
  limit_ = AddText(levels, s::kPhotosMax);
  row->addLayout(levels, 1);
  Column()->addSpacing(Column()->spacing() * 2);
  Column()->addLayout(row);
}

QString CAccountInfoDlg::PasswordMask() const { return QString(ui::Text(user_.GetPassword()).size(), u'*'); }

void CAccountInfoDlg::OnInitDialog() {
  email_->setText(ui::Text(user_.GetEmail()));
  password_->setText(PasswordMask());
  if (user_.GetQuota() == 0 && user_.GetProAccount() == 0) {
    accountLabel_->hide();
    level_->hide();
    limit_->hide();
  } else if (user_.GetProAccount() != 0) {
    level_->setText(ui::Label(s::kProAccount));
    limit_->setText(ui::Label(s::kUnlimitedPhotos));
  } else {
    limit_->setText(ui::Text(platform::FormatText(s::kPhotosMax, {std::to_string(user_.GetQuota())})));
  }
  email_->setFocus();
}

void CAccountInfoDlg::OnOK() {
  const std::string email = FieldText(*email_);
  if (email.empty()) {
    ui::MessageBox::Show(platform::LoadString(s::kBadLogin), ui::MessageBox::Icon::Exclamation);
    return;
  }
  bool changed = false;
  if (email != user_.GetEmail()) {
    // The next account check fetches the id of the new account.
    user_.SetUserId(0);
    user_.SetEmail(email);
    changed = true;
  }
  if (password_->text() != PasswordMask()) {
    user_.SetPassword(FieldText(*password_));
    changed = true;
  }
  if (changed) {
    user_.ResetSyncTimes();
    // The new login is kept at once, like every other change of a command.
    user_.SaveUser();
  }
  EndDialog(kOk);
}

}  // namespace dialogs
