#include "dialogs/comments/CCommentsDlg.h"

#include <QVBoxLayout>

#include "dialogs/comments/CAddCommentDlg.h"
#include "dialogs/comments/CCommentsListBox.h"
#include "dialogs/comments/CViewCommentDlg.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "model/CommentRules.h"
#include "model/CommentText.h"
#include "platform/DeviceFacts.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TimeValue.h"
#include "service/BlogNetwork.h"
#include "ui/CProgressWnd.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"
#include "ui/NetworkStep.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

namespace {

bool FullItems() { return platform::DeviceFacts::Current().osMajorVersion >= 5; }

// Model text with its CR LF line ends as Qt shows lines.
QString Lines(const std::string& text) { return ui::Text(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

}  // namespace

CCommentsDlg::CCommentsDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user,
                           model::CWinBlogStorage& blog, model::CWinBlogEntry& entry)
    : CDialogScreen(screen, owner, ui::Label(s::kComments), FullItems() ? 198 : 199),
      user_(user),
      blog_(blog),
      entry_(entry),
      fullItems_(FullItems()) {
  list_ = new CCommentsListBox(Content());
  Column()->setContentsMargins(0, 0, 0, 0);
  Column()->addWidget(list_, 1);
}

QString CCommentsDlg::ItemText(const model::CWinBlogComment& comment, uint32_t now) const {
  return Lines(fullItems_ ? model::CommentText::Full(comment, now) : model::CommentText::Short(comment));
}

void CCommentsDlg::OnInitDialog() {
  Column()->setStretch(Column()->count() - 1, 0);
  blog_.SetCommentEntry(entry_.GetId());
  const uint32_t now = platform::Now();
  list_->clear();
  for (size_t i = 0; i < blog_.GetCommentCount(); ++i) {
    const model::CWinBlogComment* comment = blog_.GetCommentAt(i);
    list_->AddComment(ItemText(*comment, now), comment);
  }
  if (entry_.SetNewComments(false)) blog_.Save();
  if (list_->count() > 0) list_->setCurrentRow(list_->count() - 1);
  list_->setFocus();
}

void CCommentsDlg::OnCommand(uint32_t command) {
  switch (command) {
    case ui::commands::kDialogAdd: Add(); break;
    case ui::commands::kDialogDelete: Delete(); break;
    case ui::commands::kDialogView:
      if (!fullItems_) View();
      break;
    default: CDialogScreen::OnCommand(command); break;
  }
}

void CCommentsDlg::Add() {
  CAddCommentDlg add(Screen(), this);
  if (add.DoModal() != kOk) return;
  model::CWinBlogComment* comment = model::CommentRules::Add(blog_, entry_.GetId(), add.Text());
  // Whatever the outcome the comment stays: one not sent goes with the next sync.
  ui::NetworkStep::Run(Screen(), this, 0, [&](ui::CProgressWnd& progress) {
    service::BlogNetwork::PostComment(user_, blog_, &progress, *comment);
  });
  list_->AddComment(ItemText(*comment, platform::Now()), comment);
  list_->setCurrentRow(list_->count() - 1);
  blog_.Save();
  list_->setFocus();
}

void CCommentsDlg::Delete() {
  const int row = list_->SelectedComment() ? list_->currentRow() : -1;
  if (!model::CommentRules::Delete(blog_, list_->SelectedComment())) return;
  blog_.Save();
  delete list_->takeItem(row);
  if (list_->count() > 0) list_->setCurrentRow(std::max(0, row - 1));
  list_->setFocus();
}

void CCommentsDlg::View() {
  const model::CWinBlogComment* comment = list_->SelectedComment();
  if (!comment) {
    ui::MessageBox::Show(platform::LoadString(s::kSelectItemFirst), ui::MessageBox::Icon::Exclamation);
    return;
  }
  CViewCommentDlg view(Screen(), this, Lines(model::CommentText::Full(*comment, platform::Now())));
  view.DoModal();
  list_->setFocus();
}

}  // namespace dialogs
