#include "dialogs/blogs/CGetViewPasswordDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "model/CBlogInfo.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/MessageBox.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CGetViewPasswordDlg::CGetViewPasswordDlg(ui::PhoneScreen& screen, QWidget* owner, const QString& blogName)
    : CDialogScreen(screen, owner, ui::Label(s::kPasswordRequired), 190) {
  AddText(Column(), s::kViewPasswordText);
  blogName_ = AddText(Column(), 0, true);
  blogName_->setText(blogName);
  password_ = AddEdit(Column(), model::CBlogInfo::kMaxViewPassword, true);
}

void CGetViewPasswordDlg::OnInitDialog() { password_->setFocus(); }

void CGetViewPasswordDlg::OnOK() {
  if (password_->text().isEmpty()) {
    ui::MessageBox::Show(platform::LoadString(s::kNeedPassword), ui::MessageBox::Icon::Exclamation);
    password_->setFocus();
    return;
  }
  EndDialog(kOk);
}

}  // namespace dialogs
