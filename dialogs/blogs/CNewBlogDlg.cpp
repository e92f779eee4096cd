#include "dialogs/blogs/CNewBlogDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>

#include "model/AccountRules.h"
#include "model/BlogUrlRules.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/AccountNetwork.h"
#include "service/ServiceErrors.h"
#include "ui/CProgressWnd.h"
#include "ui/MessageBox.h"
#include "ui/NetworkStep.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

CNewBlogDlg::CNewBlogDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user)
    : CDialogScreen(screen, owner, ui::Label(s::kCreateBlogTitle), 192), user_(user) {
  AddText(Column(), s::kCreateStep3Text);
  AddText(Column(), s::kBlogUrlLabel);
  auto* urlRow = new QHBoxLayout();
  AddText(urlRow, s::kBlogUrlPrefix)->setWordWrap(false);
  url_ = AddEdit(urlRow, model::AccountRules::kMaxBlogUrl);
  Column()->addLayout(urlRow);
  AddText(Column(), s::kTitleLabel);
  title_ = AddEdit(Column(), model::AccountRules::kMaxTitle);
  AddText(Column(), s::kSubtitleLabel);
  subtitle_ = AddEdit(Column(), model::AccountRules::kMaxSubtitle);
}

CNewBlogDlg::~CNewBlogDlg() = default;

std::unique_ptr<model::CWinBlogStorage> CNewBlogDlg::TakeBlog() { return std::move(blog_); }

void CNewBlogDlg::OnInitDialog() { url_->setFocus(); }

void CNewBlogDlg::OnOK() {
  const std::string url = FieldText(*url_);
  if (const uint32_t refusal = model::BlogUrlRules::CreateRefusal(user_, url); refusal != 0) {
    ui::MessageBox::Show(platform::LoadString(refusal), ui::MessageBox::Icon::Exclamation);
    SelectAll(*url_);
    return;
  }
  const std::string title = FieldText(*title_);
  const std::string subtitle = FieldText(*subtitle_);
  bool retype = false;
  ui::NetworkStep::Run(Screen(), this, 0, [&](ui::CProgressWnd& progress) {
    std::array<std::string, 2> suggestions;
    const uint32_t code =
        service::AccountNetwork::CreateBlog(user_, &progress, url, title, subtitle, suggestions, blog_);
    if (code == service::kCreateBlogUrlUsed) {
      ui::MessageBox::Show(platform::FormatText(s::kBlogUrlUsed, {url, suggestions[0], suggestions[1]}),
                           ui::MessageBox::Icon::Exclamation);
      retype = true;
    } else if (code != 0) {
      service::ServiceErrors::ShowUnreported(code);
    }
    if (code != 0) blog_.reset();
  });
  if (retype) SelectAll(*url_);
  if (!blog_) return;
  ui::MessageBox::Show(platform::LoadString(s::kBlogCreated), ui::MessageBox::Icon::Information);
  EndDialog(kOk);
}

}  // namespace dialogs
