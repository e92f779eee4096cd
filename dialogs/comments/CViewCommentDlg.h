#pragma once

#include "ui/CDialogScreen.h"

class QPlainTextEdit;

namespace dialogs {

// "View Comment": one comment in full, read-only, on systems whose comment
// list shows only the texts.
class CViewCommentDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CViewCommentDlg(ui::PhoneScreen& screen, QWidget* owner, const QString& text);

  QPlainTextEdit* TextField() const { return text_; }

 protected:
  void OnInitDialog() override;

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace dialogs
