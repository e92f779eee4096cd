#pragma once

#include <string>

#include "ui/CDialogScreen.h"

class QPlainTextEdit;

namespace dialogs {

// "Add Comment": a comment's text in a multi-line field that fills the screen
// (Enter starts a new line; no length limit).
class CAddCommentDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CAddCommentDlg(ui::PhoneScreen& screen, QWidget* owner);

  // The text typed, as model text (lines end with CR LF).
  std::string Text() const;
  QPlainTextEdit* TextField() const { return text_; }

 protected:
  void OnInitDialog() override;

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace dialogs
