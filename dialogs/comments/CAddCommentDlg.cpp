#include "dialogs/comments/CAddCommentDlg.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

CAddCommentDlg::CAddCommentDlg(ui::PhoneScreen& screen, QWidget* owner)
    : CDialogScreen(screen, owner, ui::Label(platform::strings::kAddComment), 190) {
  text_ = new QPlainTextEdit(Content());
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Column()->addWidget(text_, 1);
}

std::string CAddCommentDlg::Text() const {
  // Lines end with CR LF in comments, as the phone's text fields write them.
  return ui::Utf8(text_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

void CAddCommentDlg::OnInitDialog() {
  // The field takes the whole screen.
  Column()->setStretch(Column()->count() - 1, 0);
  text_->setFocus();
}

}  // namespace dialogs
