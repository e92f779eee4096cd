#include "dialogs/entries/CCaptionDlg.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "model/CWinBlogEntry.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

CCaptionDlg::CCaptionDlg(ui::PhoneScreen& screen, QWidget* owner, const model::CWinBlogEntry& entry)
    : CDialogScreen(screen, owner, ui::Label(platform::strings::kCaptionTitle), 191), entry_(entry) {
  field_ = new QPlainTextEdit(Content());
  field_->setReadOnly(true);
  field_->setTextInteractionFlags(Qt::TextSelectableByKeyboard);
  field_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Column()->addWidget(field_, 100);
}

void CCaptionDlg::OnInitDialog() {
  field_->setPlainText(QString::fromStdU16String(entry_.GetCaptionW()));
  field_->moveCursor(QTextCursor::Start);
  field_->ensureCursorVisible();
  field_->setFocus();
}

bool CCaptionDlg::eventFilter(QObject* watched, QEvent* event) {
  if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F6) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat()) return true;
    if (event->type() == QEvent::KeyPress) {
      closeKeyDown_ = true;
    } else if (closeKeyDown_) {
      EndDialog(kOk);
    }
    return true;
  }
  return CDialogScreen::eventFilter(watched, event);
}

}  // namespace dialogs
