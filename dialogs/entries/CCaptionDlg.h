#pragma once

#include "ui/CDialogScreen.h"

class QPlainTextEdit;

namespace model {
class CWinBlogEntry;
}

namespace dialogs {

// "Caption": the whole caption of an entry, read-only, scrolling, filling the
// screen. OK closes it, as does releasing the key that opens it in the viewer
// (F6) after pressing it here.
class CCaptionDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CCaptionDlg(ui::PhoneScreen& screen, QWidget* owner, const model::CWinBlogEntry& entry);

  QPlainTextEdit* Field() const { return field_; }

 protected:
  void OnInitDialog() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const model::CWinBlogEntry& entry_;
  QPlainTextEdit* field_ = nullptr;
  bool closeKeyDown_ = false;
};

}  // namespace dialogs
