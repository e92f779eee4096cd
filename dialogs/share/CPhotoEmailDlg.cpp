#include "dialogs/share/CPhotoEmailDlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/share/CChooseContactDlg.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/DeviceFacts.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/BlogNetwork.h"
#include "service/ServiceErrors.h"
#include "ui/MessageBox.h"
#include "ui/CProgressWnd.h"
#include "ui/NetworkStep.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CPhotoEmailDlg::CPhotoEmailDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user,
                               model::CWinBlogStorage& blog, uint32_t categoryId, uint32_t entryId)
    : CDialogScreen(screen, owner, ui::Label(s::kPhotoEmailTitle), 190),
      user_(user),
      blog_(blog),
      categoryId_(categoryId),
      entryId_(entryId) {
  auto* sending = new QHBoxLayout();
  AddText(sending, s::kSendingLabel)->setWordWrap(false);
  link_ = AddText(sending, s::kBlogLink, true);
  sending->addStretch(1);
  Column()->addLayout(sending);
  auto* recipients = new QHBoxLayout();
  to_ = new QPushButton(ui::Label(s::kToLabel), Content());
  to_->setFocusPolicy(Qt::StrongFocus);
  connect(to_, &QPushButton::clicked, this, &CPhotoEmailDlg::ChooseContact);
  recipients->addWidget(to_);
  address_ = new QLineEdit(Content());
  recipients->addWidget(address_, 1);
  Column()->addLayout(recipients);
  AddText(Column(), s::kMessageLabel);
  message_ = new QPlainTextEdit(Content());
  message_->setTabChangesFocus(true);
  Column()->addWidget(message_, 1);
}

void CPhotoEmailDlg::OnInitDialog() {
  if (entryId_ != 0) link_->setText(ui::Label(s::kPhotoLink));
}

void CPhotoEmailDlg::showEvent(QShowEvent* event) {
  CDialogScreen::showEvent(event);
  // The field gets the focus once it can take it: on show.
  SelectAll(*address_);
}

void CPhotoEmailDlg::ChooseContact() {
  if (platform::DeviceFacts::Current().osMajorVersion <= 4) {
    ui::MessageBox::Show(platform::LoadString(s::kNeedsNewerSystem), ui::MessageBox::Icon::Exclamation);
    return;
  }
  std::string chosen;
  if (!CChooseContactDlg::Choose(Screen(), this, chosen)) return;
  QString text = address_->text();
  if (!text.isEmpty()) text += QStringLiteral(", ");
  text += ui::Text(chosen);
  address_->setText(text);
  address_->setFocus();
  address_->end(false);
}

void CPhotoEmailDlg::OnOK() {
  const std::string addresses = FieldText(*address_);
  if (addresses.find_first_not_of(" \t,") == std::string::npos) {
    ui::MessageBox::Show(platform::LoadString(s::kNeedAddress), ui::MessageBox::Icon::Exclamation);
    return;
  }
  const std::string message = ui::Utf8(message_->toPlainText());
  uint32_t code = 0;
  ui::NetworkStep::Run(Screen(), this, 0, [&](ui::CProgressWnd& progress) {
    code = service::BlogNetwork::SendPhotoEmail(user_, blog_, &progress, categoryId_, entryId_, addresses, message);
  });
  service::ServiceErrors::ShowUnreported(code);
  EndDialog(kOk);
}

bool CPhotoEmailDlg::eventFilter(QObject* watched, QEvent* event) {
  // The action key on "To:" presses the button rather than OK.
  if (watched == to_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
      to_->click();
      return true;
    }
  }
  return CDialogScreen::eventFilter(watched, event);
}

}  // namespace dialogs
