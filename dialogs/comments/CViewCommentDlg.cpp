#include "dialogs/comments/CViewCommentDlg.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

CViewCommentDlg::CViewCommentDlg(ui::PhoneScreen& screen, QWidget* owner, const QString& text)
    : CDialogScreen(screen, owner, ui::Label(platform::strings::kViewComment), 191) {
  text_ = new QPlainTextEdit(text, Content());
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  Column()->addWidget(text_, 1);
}

void CViewCommentDlg::OnInitDialog() {
  Column()->setStretch(Column()->count() - 1, 0);
  text_->setFocus();
}

}  // namespace dialogs
