#include "dialogs/categories/CCategoryNameDlg.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "model/CWinBlogStorage.h"
#include "model/NoCase.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/MessageBox.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CCategoryNameDlg::CCategoryNameDlg(ui::PhoneScreen& screen, QWidget* owner, const model::CWinBlogStorage& blog,
                                   const model::CWinBlogAlbum* category)
    : CDialogScreen(screen, owner, ui::Label(s::kCategoryNameTitle), 190), blog_(blog), category_(category) {
  AddText(Column(), s::kEnterCategoryName);
  field_ = AddEdit(Column(), kMaxName);
}

void CCategoryNameDlg::OnInitDialog() {
  if (category_) field_->setText(QString::fromStdU16String(category_->GetNameW()));
  if (field_->text().isEmpty()) {
    field_->setFocus();
  } else {
    SelectAll(*field_);
  }
}

void CCategoryNameDlg::OnOK() {
  name_ = FieldText(*field_);
  if (category_) {
    if (name_ == category_->GetName()) {
      EndDialog(kCancel);
      return;
    }
    if (model::EqualsNoCase(name_, category_->GetName())) {
      EndDialog(kOk);
      return;
    }
  }
  if (blog_.CategoryNameExists(name_)) {
    ui::MessageBox::Show(platform::LoadString(s::kCategoryExists), ui::MessageBox::Icon::Error);
    return;
  }
  EndDialog(kOk);
}

}  // namespace dialogs
