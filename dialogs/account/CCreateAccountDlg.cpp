#include "dialogs/account/CCreateAccountDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>
#include <memory>

#include "model/AccountRules.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/ErrorCodes.h"
#include "platform/StringTable.h"
#include "service/AccountNetwork.h"
#include "service/ServiceClient.h"
#include "service/ServiceErrors.h"
#include "ui/CProgressWnd.h"
#include "ui/MessageBox.h"
#include "ui/NetworkStep.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

namespace {

void Refuse(uint32_t messageId) {
  ui::MessageBox::Show(platform::LoadString(messageId), ui::MessageBox::Icon::Exclamation);
}

}  // namespace

CCreateAccountDlg::CCreateAccountDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user)
    : CDialogScreen(screen, owner, ui::Label(s::kCreateNewAccount), 189),
      user_(user),
      savedEmail_(user.GetEmail()),
      savedPassword_(user.GetPassword()) {
  auto group = [this](uint32_t textId) {
    auto* widget = new QWidget(Content());
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Column()->spacing());
    AddText(layout, textId);
    Column()->addWidget(widget);
    return std::make_pair(widget, layout);
  };

  auto [login, loginLayout] = group(s::kCreateStep1Text);
  AddLoginFields(loginLayout, email_, password_);

  auto [name, nameLayout] = group(s::kCreateStep2Text);
  AddText(nameLayout, s::kFirstNameLabel);
  firstName_ = AddEdit(nameLayout, model::AccountRules::kMaxName);
  AddText(nameLayout, s::kLastNameLabel);
  lastName_ = AddEdit(nameLayout, model::AccountRules::kMaxName);

  auto [blog, blogLayout] = group(s::kCreateStep3Text);
  AddText(blogLayout, s::kBlogUrlLabel);
  auto* urlRow = new QHBoxLayout();
  AddText(urlRow, s::kBlogUrlPrefix)->setWordWrap(false);
  blogUrl_ = AddEdit(urlRow, model::AccountRules::kMaxBlogUrl);
  blogLayout->addLayout(urlRow);
  AddText(blogLayout, s::kTitleLabel);
  title_ = AddEdit(blogLayout, model::AccountRules::kMaxTitle);
  AddText(blogLayout, s::kSubtitleLabel);
  subtitle_ = AddEdit(blogLayout, model::AccountRules::kMaxSubtitle);

  groups_[0] = login;
  groups_[1] = name;
  groups_[2] = blog;
}

QWidget* CCreateAccountDlg::StepGroup(Step step) const {
  const int index = static_cast<int>(step) - 1;
  return index >= 0 && index < 3 ? groups_[index] : nullptr;
}

void CCreateAccountDlg::OnInitDialog() {
  // The later groups take the first one's place at the top; only one shows.
  ShowStep(Step::Login);
  email_->setFocus();
}

void CCreateAccountDlg::ShowStep(Step step) {
  step_ = step;
  for (int i = 0; i < 3; ++i) {
    const bool current = i == static_cast<int>(step) - 1;
    groups_[i]->setVisible(current);
    groups_[i]->setEnabled(current);
  }
}

void CCreateAccountDlg::OnOK() {
  switch (step_) {
    case Step::Login:
      if (!model::AccountRules::IsValidEmail(FieldText(*email_)) ||
          !model::AccountRules::IsValidNewPassword(FieldText(*password_))) {
        Refuse(s::kBadLogin);
        return;
      }
      ShowStep(Step::Name);
      SelectAll(*firstName_);
      return;
    case Step::Name:
      if (firstName_->text().isEmpty() || lastName_->text().isEmpty()) {
        Refuse(s::kNeedNames);
        return;
      }
      CreateAccount();
      return;
    case Step::Blog:
      if (!model::AccountRules::IsValidBlogUrl(FieldText(*blogUrl_))) {
        Refuse(s::kBadBlogUrl);
        return;
      }
      CreateBlog();
      return;
    case Step::Done: return;
  }
}

void CCreateAccountDlg::OnCancel() {
  // A wizard left before an account came of it leaves no half-made login behind.
  if (!keepLogin_) {
    user_.SetEmail(savedEmail_);
    user_.SetPassword(savedPassword_);
  }
  EndDialog(kCancel);
}

void CCreateAccountDlg::CreateAccount() {
  const std::string email = FieldText(*email_);
  const std::string password = FieldText(*password_);
  const std::string first = FieldText(*firstName_);
  const std::string last = FieldText(*lastName_);
  // The field to type in next; it takes the focus once the progress window is gone.
  QLineEdit* next = nullptr;
  ui::NetworkStep::Run(Screen(), this, 0, [&](ui::CProgressWnd& progress) {
    const uint32_t code = service::AccountNetwork::CreateAccount(user_, &progress, email, password, first, last);
    if (code == service::kCreateEmailUsed) {
      if (ui::MessageBox::Ask(platform::FormatText(s::kEmailUsed, {email}), false) == ui::MessageBox::kYes) {
        user_.SetEmail(email);
        user_.SetPassword(password);
        user_.credentialsChanged = true;
        // Kept at once so that the login outlives this run even before a sync.
        user_.SaveUser();
        keepLogin_ = true;
        step_ = Step::Done;
        EndDialog(kOk);
      } else {
        ShowStep(Step::Login);
        next = email_;
      }
      return;
    }
    if (code != 0) {
      service::ServiceErrors::ShowUnreported(code);
      return;
    }
    keepLogin_ = true;
    user_.SaveUser();
    title_->setText(ui::Text(platform::FormatText(s::kDefaultBlogTitle, {first})));
    subtitle_->setText(ui::Label(s::kDefaultBlogSubtitle));
    ShowStep(Step::Blog);
    next = blogUrl_;
  });
  if (next) SelectAll(*next);
}

void CCreateAccountDlg::CreateBlog() {
  const std::string url = FieldText(*blogUrl_);
  const std::string title = FieldText(*title_);
  const std::string subtitle = FieldText(*subtitle_);
  bool retype = false;
  ui::NetworkStep::Run(Screen(), this, 0, [&](ui::CProgressWnd& progress) {
    std::array<std::string, 2> suggestions;
    std::unique_ptr<model::CWinBlogStorage> created;
    const uint32_t code =
        service::AccountNetwork::CreateBlog(user_, &progress, url, title, subtitle, suggestions, created);
    if (code == service::kCreateBlogUrlUsed) {
      ui::MessageBox::Show(platform::FormatText(s::kBlogUrlUsed, {url, suggestions[0], suggestions[1]}),
                           ui::MessageBox::Icon::Exclamation);
      retype = true;
      return;
    }
    if (code != 0 || !created) {
      service::ServiceErrors::ShowUnreported(code);
      return;
    }
    model::CWinBlogStorage* blog = user_.Blogs().InsertBlog(std::move(created));
    blogCreated_ = blog != nullptr;
    user_.SaveUser();
    if (blog) blog->Save();
    // The account check agrees the new blog with the service; only a cancel of
    // it is worth a word, the blog exists either way.
    progress.ResetCancel();
    if (service::ServiceClient::Open()) {
      if (service::AccountNetwork::CheckAccount(user_, &progress) == platform::kErrCancelled) {
        ui::MessageBox::Show(platform::LoadString(s::kSyncCancelled), ui::MessageBox::Icon::Information);
      }
      service::ServiceClient::Close();
    }
    step_ = Step::Done;
    EndDialog(kOk);
  });
  if (retype) SelectAll(*blogUrl_);
}

}  // namespace dialogs
