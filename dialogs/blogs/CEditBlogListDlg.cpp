#include "dialogs/blogs/CEditBlogListDlg.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "dialogs/blogs/CBlogPrefsDlg.h"
#include "dialogs/blogs/CConfirmDeleteBlogDlg.h"
#include "model/CWinBlogUser.h"
#include "platform/StringIds.h"
#include "ui/CommandIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

namespace {

constexpr int kBlogRole = Qt::UserRole;

}  // namespace

CEditBlogListDlg::CEditBlogListDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user)
    : CDialogScreen(screen, owner, ui::Label(s::kEditBlogs), 195), user_(user) {
  AddText(Column(), s::kEditBlogs, true);
  list_ = new QListWidget(Content());
  list_->setSortingEnabled(true);
  Column()->addWidget(list_, 1);
}

void CEditBlogListDlg::OnInitDialog() {
  for (size_t i = 0; i < user_.Blogs().Count(); ++i) {
    model::CWinBlogStorage* blog = user_.Blogs().At(i);
    auto* item = new QListWidgetItem(ui::Text(blog->Info().DisplayName()), list_);
    item->setData(kBlogRole, QVariant::fromValue(static_cast<void*>(blog)));
  }
  // The list fills the screen below its heading.
  Column()->setStretch(Column()->count() - 1, 0);
  if (list_->count() > 0) list_->setCurrentRow(0);
  list_->setFocus();
}

model::CWinBlogStorage* CEditBlogListDlg::Selected() const {
  QListWidgetItem* item = list_->currentItem();
  if (!item || !item->isSelected()) return nullptr;
  return static_cast<model::CWinBlogStorage*>(item->data(kBlogRole).value<void*>());
}

void CEditBlogListDlg::OnCommand(uint32_t command) {
  switch (command) {
    case ui::commands::kDialogUnsubscribe: Unsubscribe(); break;
    case ui::commands::kDialogBlogPrefs: BlogPrefs(); break;
    default: CDialogScreen::OnCommand(command); break;
  }
}

void CEditBlogListDlg::Unsubscribe() {
  model::CWinBlogStorage* blog = Selected();
  if (!blog) return;
  CConfirmDeleteBlogDlg confirm(Screen(), this);
  if (confirm.DoModal() != kOk) return;
  // A file that cannot be deleted keeps its blog, and the list stays.
  if (user_.Blogs().RemoveBlog(blog, confirm.DeletePhotos()) != 0) return;
  delete list_->takeItem(list_->currentRow());
  list_->clearSelection();
  list_->setCurrentItem(nullptr);
}

void CEditBlogListDlg::BlogPrefs() {
  model::CWinBlogStorage* blog = Selected();
  if (!blog) return;
  CBlogPrefsDlg prefs(Screen(), this, *blog, CBlogPrefsDlg::Layout::Full);
  if (prefs.DoModal() != kOk) return;
  // Saved at once: a Yes to deleting the photos deletes them with this save,
  // and nothing else would write what was chosen.
  blog->Save();
  QListWidgetItem* item = list_->currentItem();
  if (item) item->setText(ui::Text(blog->Info().DisplayName()));
  list_->setFocus();
}

}  // namespace dialogs
