#include "dialogs/entries/CCategorizeEntriesDlg.h"

#include <QVBoxLayout>

#include "model/CWinBlogStorage.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/SpinList.h"
#include "ui/MessageBox.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CCategorizeEntriesDlg::CCategorizeEntriesDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogStorage& blog)
    : CDialogScreen(screen, owner, ui::Label(s::kCategorizeEntries), 190), blog_(blog) {
  AddText(Column(), s::kCategorizeText);
  list_ = new ui::SpinList(Content());
  Column()->addWidget(list_);
}

void CCategorizeEntriesDlg::OnInitDialog() {
  list_->clear();
  for (size_t i = 0; i < blog_.GetCategoryCount(); ++i) {
    const model::CWinBlogAlbum* category = blog_.GetCategoryAt(i);
    list_->AddItem(ui::Text(category->GetName()), category->GetId());
  }
  list_->AddItem(ui::Label(s::kUnfiled), model::kUnfiledCategoryId);
  list_->setCurrentIndex(0);
  list_->setFocus();
}

void CCategorizeEntriesDlg::OnOK() {
  uint32_t id = 0;
  if (!list_->SelectedData(id)) return;
  if (id != blog_.GetCategoryFilter() && blog_.CategorizeShown(blog_.FindCategory(id))) {
    ui::MessageBox::Show(platform::LoadString(s::kSomeNotCategorized), ui::MessageBox::Icon::Exclamation);
  }
  EndDialog(kOk);
}

}  // namespace dialogs
