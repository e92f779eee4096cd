#include "dialogs/blogs/CSubscribeDlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/blogs/CBrowseBlogsDlg.h"
#include "model/AccountRules.h"
#include "model/BlogPrefs.h"
#include "model/BlogUrlRules.h"
#include "model/CWinBlogChannels.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/BlogNetwork.h"
#include "service/ServiceErrors.h"
#include "ui/CProgressWnd.h"
#include "ui/MessageBox.h"
#include "ui/NetworkStep.h"
#include "ui/QtText.h"
#include "ui/SpinList.h"

namespace dialogs {

namespace s = platform::strings;

CSubscribeDlg::CSubscribeDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user)
    : CDialogScreen(screen, owner, ui::Label(s::kSubscribeTitle), 189), user_(user), fields_(Content()) {
  auto group = [this] {
    auto* widget = new QWidget(Content());
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Column()->spacing());
    Column()->addWidget(widget);
    return std::make_pair(widget, layout);
  };

  auto [address, addressLayout] = group();
  AddText(addressLayout, s::kSubscribeText);
  AddText(addressLayout, s::kBlogUrlLabel);
  auto* urlRow = new QHBoxLayout();
  AddText(urlRow, s::kBlogUrlPrefix)->setWordWrap(false);
  url_ = AddEdit(urlRow, model::AccountRules::kMaxBlogUrl);
  addressLayout->addLayout(urlRow);
  browse_ = new QPushButton(ui::Label(s::kBrowse), Content());
  browse_->setFocusPolicy(Qt::StrongFocus);
  connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
  addressLayout->addWidget(browse_, 0, Qt::AlignLeft);

  auto [settings, settingsLayout] = group();
  AddText(settingsLayout, s::kReviewSyncSettings);
  fields_.AddDownload(settingsLayout);
  fields_.AddLimit(settingsLayout);
  fields_.AddDeleteAfterUpload(settingsLayout);
  // A new subscription uploads at the default size: the list is not shown.
  fields_.AddUpload(settingsLayout);
  fields_.UploadLabel()->hide();
  fields_.Upload()->hide();

  groups_[0] = address;
  groups_[1] = settings;
}

CSubscribeDlg::~CSubscribeDlg() = default;

std::unique_ptr<model::CWinBlogStorage> CSubscribeDlg::TakeBlog() { return std::move(blog_); }

void CSubscribeDlg::OnInitDialog() {
  // A new blog's settings are the defaults of a new database.
  fields_.Load(model::BlogPrefs::Of(model::CBlogInfo()));
  ShowStep(0);
  url_->setFocus();
}

void CSubscribeDlg::ShowStep(int step) {
  step_ = step;
  for (int i = 0; i < 2; ++i) {
    groups_[i]->setVisible(i == step);
    groups_[i]->setEnabled(i == step);
  }
}

void CSubscribeDlg::OnOK() {
  if (step_ == 1) {
    Subscribe();
    return;
  }
  if (const uint32_t refusal = model::BlogUrlRules::SubscribeRefusal(user_, FieldText(*url_)); refusal != 0) {
    ui::MessageBox::Show(platform::LoadString(refusal), ui::MessageBox::Icon::Exclamation);
    SelectAll(*url_);
    return;
  }
  ShowStep(1);
  fields_.Download()->setFocus();
}

bool CSubscribeDlg::eventFilter(QObject* watched, QEvent* event) {
  // The action key on Browse presses it rather than Next.
  if (watched == browse_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
      Browse();
      return true;
    }
  }
  return CDialogScreen::eventFilter(watched, event);
}

void CSubscribeDlg::Browse() {
  std::string text;
  uint32_t code = 0;
  const bool connected = ui::NetworkStep::Run(Screen(), this, 0, [&](ui::CProgressWnd& progress) {
    code = service::BlogNetwork::GetChannels(&progress, text);
  });
  if (!connected) return;
  if (code != 0) {
    service::ServiceErrors::ShowUnreported(code);
    return;
  }
  model::CWinBlogChannels channels;
  channels.Parse(text);
  CBrowseBlogsDlg browse(Screen(), this, channels);
  // A list closed with nothing selected keeps the typed Blog URL.
  if (browse.DoModal() == kOk && !browse.BlogName().empty()) url_->setText(ui::Text(browse.BlogName()));
  url_->setFocus();
}

void CSubscribeDlg::Subscribe() {
  const std::string url = FieldText(*url_);
  std::unique_ptr<model::CWinBlogStorage> blog = user_.MakeBlog(url);
  if (!blog) {
    ui::MessageBox::Show(platform::LoadString(s::kNoMemory), ui::MessageBox::Icon::Error);
    return;
  }
  blog->SetAccount(&user_);
  model::BlogPrefs prefs = model::BlogPrefs::Of(blog->Info());
  fields_.Read(prefs);
  prefs.StoreSyncSettings(*blog->GetBlogInfo());

  bool undone = false;
  ui::NetworkStep::Run(Screen(), this, 0, [&](ui::CProgressWnd& progress) {
    progress.SetLine(0, ui::Text(url));
    const uint32_t code = service::BlogNetwork::SyncNewSubscription(user_, *blog, &progress);
    undone = code != 0 && code != service::kResultAlreadyReported;
  });
  if (undone) {
    ShowStep(0);
    SelectAll(*url_);
    return;
  }
  // Synchronised, or kept for a later sync (no connection, a failure already
  // shown, a cancel).
  blog_ = std::move(blog);
  EndDialog(kOk);
}

}  // namespace dialogs
