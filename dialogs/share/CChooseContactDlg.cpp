#include "dialogs/share/CChooseContactDlg.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

CChooseContactDlg::CChooseContactDlg(ui::PhoneScreen& screen, QWidget* owner,
                                     const std::vector<platform::Contact>& contacts)
    : CDialogScreen(screen, owner, ui::Label(platform::strings::kContactsTitle), 190) {
  list_ = new QListWidget(Content());
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setWordWrap(true);
  for (const platform::Contact& contact : contacts) {
    for (const std::string& email : contact.emails) {
      const QString address = ui::Text(email);
      list_->addItem(contact.name.empty() ? address : ui::Text(contact.name) + QLatin1Char('\n') + address);
      addresses_.push_back(email);
    }
  }
  Column()->addWidget(list_, 1);
  // A double click (the pen's second tap) takes the row, as OK does.
  connect(list_, &QListWidget::itemActivated, this, [this] { OnOK(); });
}

bool CChooseContactDlg::Choose(ui::PhoneScreen& screen, QWidget* owner, std::string& address) {
  std::vector<platform::Contact> contacts;
  if (platform::ContactBook::Read(platform::ContactBook::DefaultPath(), contacts) != 0 || contacts.empty()) {
    return false;
  }
  CChooseContactDlg dialog(screen, owner, contacts);
  if (dialog.DoModal() != kOk) return false;
  address = dialog.Address();
  return true;
}

void CChooseContactDlg::OnInitDialog() {
  list_->setCurrentRow(0);
  list_->setFocus();
}

void CChooseContactDlg::OnOK() {
  const int row = list_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= addresses_.size()) return;
  address_ = addresses_[static_cast<size_t>(row)];
  EndDialog(kOk);
}

bool CChooseContactDlg::eventFilter(QObject* watched, QEvent* event) {
  // Up and Down move through the list itself: it is the screen's only field.
  if (watched == list_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) return false;
  }
  return CDialogScreen::eventFilter(watched, event);
}

}  // namespace dialogs
