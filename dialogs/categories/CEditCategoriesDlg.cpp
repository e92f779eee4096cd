#include "dialogs/categories/CEditCategoriesDlg.h"

#include <QListWidget>
#include <QVBoxLayout>
#include <memory>

#include "dialogs/categories/CCategoryNameDlg.h"
#include "model/CWinBlogStorage.h"
#include "model/NoCase.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CEditCategoriesDlg::CEditCategoriesDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogStorage& blog)
    : CDialogScreen(screen, owner, ui::Label(s::kProgramTitle), 197), screen_(screen), blog_(blog) {
  AddText(Column(), s::kEditCategoriesHeading, true);
  list_ = new QListWidget(Content());
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  Column()->addWidget(list_, 100);
}

void CEditCategoriesDlg::OnInitDialog() {
  list_->clear();
  for (size_t i = 0; i < blog_.GetCategoryCount(); ++i) AddItem(blog_.GetCategoryAt(i)->GetId());
  list_->setCurrentRow(list_->count() > 0 ? 0 : -1);
  list_->setFocus();
}

void CEditCategoriesDlg::AddItem(uint32_t id) {
  const model::CWinBlogAlbum* category = blog_.FindCategory(id);
  if (!category) return;
  // The list keeps its items in name order, letter case aside; a name equal to
  // one there goes after it.
  int row = 0;
  while (row < list_->count()) {
    const model::CWinBlogAlbum* other = blog_.FindCategory(list_->item(row)->data(Qt::UserRole).toUInt());
    if (other && model::CompareNoCase(category->GetName(), other->GetName()) < 0) break;
    ++row;
  }
  auto* item = new QListWidgetItem(QString::fromStdU16String(category->GetNameW()));
  item->setData(Qt::UserRole, QVariant::fromValue(id));
  list_->insertItem(row, item);
  list_->setCurrentRow(row);
}

model::CWinBlogAlbum* CEditCategoriesDlg::SelectedCategory() {
  QListWidgetItem* item = list_->currentItem();
  model::CWinBlogAlbum* category =
      item && item->isSelected() ? blog_.FindCategory(item->data(Qt::UserRole).toUInt()) : nullptr;
  if (!category) ui::MessageBox::Show(platform::LoadString(s::kSelectItemFirst), ui::MessageBox::Icon::None);
  return category;
}

void CEditCategoriesDlg::OnCommand(uint32_t command) {
  switch (command) {
    case ui::commands::kDialogNew: New(); break;
    case ui::commands::kDialogEdit: Edit(); break;
    case ui::commands::kDialogDelete: Delete(); break;
    default: CDialogScreen::OnCommand(command); break;
  }
}

void CEditCategoriesDlg::New() {
  CCategoryNameDlg name(screen_, this, blog_, nullptr);
  if (name.DoModal() != kOk) return;
  const uint32_t id = blog_.NextLocalCategoryId();
  if (id == 0) {
    ui::MessageBox::Show(platform::LoadString(s::kTooManyNewCategories), ui::MessageBox::Icon::Exclamation);
    return;
  }
  auto category = std::make_unique<model::CWinBlogAlbum>();
  category->SetId(id);
  category->SetName(name.Name());
  category->SetModified(true);
  blog_.InsertCategory(std::move(category));
  AddItem(id);
}

void CEditCategoriesDlg::Edit() {
  model::CWinBlogAlbum* category = SelectedCategory();
  if (!category) return;
  CCategoryNameDlg name(screen_, this, blog_, category);
  if (name.DoModal() != kOk) return;
  category->SetName(name.Name());
  category->SetModified(true);
  delete list_->takeItem(list_->currentRow());
  AddItem(category->GetId());
}

void CEditCategoriesDlg::Delete() {
  model::CWinBlogAlbum* category = SelectedCategory();
  if (!category) return;
  if (ui::MessageBox::Ask(platform::LoadString(s::kAskDeleteCategory), false) != ui::MessageBox::kYes) return;
  delete list_->takeItem(list_->currentRow());
  blog_.RemoveCategory(*category, false);
  list_->setCurrentRow(-1);
  list_->clearSelection();
}

void CEditCategoriesDlg::OnOK() {
  blog_.Save();
  EndDialog(kOk);
}

}  // namespace dialogs
