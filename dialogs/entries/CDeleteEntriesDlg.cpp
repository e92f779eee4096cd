#include "dialogs/entries/CDeleteEntriesDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CDeleteEntriesDlg::CDeleteEntriesDlg(ui::PhoneScreen& screen, QWidget* owner, bool single, bool webLocked,
                                     bool pending)
    : CDialogScreen(screen, owner, ui::Label(s::kDeleteEntriesTitle), 190),
      single_(single),
      webLocked_(webLocked),
      pending_(pending) {
  question_ = AddText(Column(), s::kAskDeleteShown);
  Column()->addSpacing(Column()->spacing() * 2);
  web_ = AddCheck(Column(), s::kDeleteEntriesOnWeb);
  note_ = AddText(Column(), s::kEntriesStayOnWeb);
  note_->hide();
  photo_ = AddCheck(Column(), s::kDeleteShownPhotosOnDevice);
}

void CDeleteEntriesDlg::OnInitDialog() {
  if (webLocked_ || pending_) {
    web_->hide();
    web_->setEnabled(false);
    if (!pending_) note_->show();
  }
  if (single_) {
    question_->setText(ui::Label(s::kAskDeleteEntry));
    web_->setText(ui::Label(s::kDeleteEntryOnWeb));
    note_->setText(ui::Label(s::kEntryStaysOnWeb));
    photo_->setText(ui::Label(s::kDeletePhotoOnDevice));
  }
}

void CDeleteEntriesDlg::OnOK() {
  deleteOnWeb_ = web_->isEnabled() && web_->isChecked();
  deletePhoto_ = photo_->isChecked();
  EndDialog(kOk);
}

}  // namespace dialogs
