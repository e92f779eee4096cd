#include "dialogs/blogs/CConfirmDeleteBlogDlg.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CConfirmDeleteBlogDlg::CConfirmDeleteBlogDlg(ui::PhoneScreen& screen, QWidget* owner)
    : CDialogScreen(screen, owner, ui::Label(s::kConfirmDelete), 190) {
  AddText(Column(), s::kConfirmDeleteBlog);
  deletePhotos_ = new QCheckBox(ui::Label(s::kDeletePhotosOnDevice), Content());
  Column()->addWidget(deletePhotos_);
}

bool CConfirmDeleteBlogDlg::DeletePhotos() const { return deletePhotos_->isChecked(); }

}  // namespace dialogs
