#include "dialogs/share/CPostRemoteEntryDlg.h"

#include <algorithm>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/Preferences.h"
#include "platform/StringIds.h"
#include "platform/TextConversion.h"
#include "service/BlogNetwork.h"
#include "service/ServiceErrors.h"
#include "ui/CProgressWnd.h"
#include "ui/NetworkStep.h"
#include "ui/QtText.h"
#include "ui/SpinList.h"

namespace dialogs {

namespace s = platform::strings;

CPostRemoteEntryDlg::CPostRemoteEntryDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user,
                                         model::CWinBlogStorage& blog, model::ShareSubject subject)
    : CDialogScreen(screen, owner, ui::Label(s::kPostRemoteEntry), 200),
      user_(user),
      blog_(blog),
      subject_(std::move(subject)) {
  AddText(Column(), s::kBlogLabel);
  blogs_ = new ui::SpinList(Content());
  Column()->addWidget(blogs_);
  AddText(Column(), s::kTitleLabel);
  title_ = AddEdit(Column(), kMaxTitle);
  AddText(Column(), s::kPostLabel);
  post_ = new QPlainTextEdit(Content());
  post_->setTabChangesFocus(true);
  Column()->addWidget(post_, 1);
  connect(post_, &QPlainTextEdit::textChanged, this, &CPostRemoteEntryDlg::LimitPost);
}

void CPostRemoteEntryDlg::OnInitDialog() {
  const std::string last = platform::ReadLastRemoteBlog();
  const std::vector<std::u16string>& names = user_.RemoteBlogs();
  for (size_t i = 0; i < names.size(); ++i) {
    blogs_->AddItem(QString::fromStdU16String(names[i]), static_cast<uint32_t>(i));
    if (platform::Utf16ToUtf8(names[i]) == last) blogs_->setCurrentIndex(static_cast<int>(i));
  }
  title_->setText(ui::Text(subject_.title));
  post_->setPlainText(ui::Text(subject_.post));
}

void CPostRemoteEntryDlg::showEvent(QShowEvent* event) {
  CDialogScreen::showEvent(event);
  // The field gets the focus once it can take it: on show.
  SelectAll(*title_);
}

void CPostRemoteEntryDlg::LimitPost() {
  const QString text = post_->toPlainText();
  if (text.size() <= kMaxPost) return;
  QTextCursor cursor = post_->textCursor();
  const int position = cursor.position();
  post_->setPlainText(text.left(kMaxPost));
  cursor = post_->textCursor();
  cursor.setPosition(std::min(position, kMaxPost));
  post_->setTextCursor(cursor);
}

void CPostRemoteEntryDlg::OnOK() {
  const std::vector<std::u16string>& names = user_.RemoteBlogs();
  if (blogs_->currentIndex() < 0 || blogs_->CurrentData() >= names.size()) return;
  const std::string remote = platform::Utf16ToUtf8(names[blogs_->CurrentData()]);
  platform::WriteLastRemoteBlog(remote);
  const std::string title = FieldText(*title_);
  const std::string post = ui::Utf8(post_->toPlainText());
  uint32_t code = 0;
  ui::NetworkStep::Run(Screen(), this, 0, [&](ui::CProgressWnd& progress) {
    code = service::BlogNetwork::PostRemoteEntry(user_, blog_, &progress, subject_.categoryId, subject_.entryId,
                                                 remote, title, post);
  });
  service::ServiceErrors::ShowUnreported(code);
  EndDialog(kOk);
}

}  // namespace dialogs
