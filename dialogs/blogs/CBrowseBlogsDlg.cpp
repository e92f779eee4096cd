#include "dialogs/blogs/CBrowseBlogsDlg.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "model/CWinBlogChannels.h"
#include "platform/StringIds.h"
#include "platform/TextConversion.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

namespace {

constexpr int kBlogNameRole = Qt::UserRole;

}  // namespace

CBrowseBlogsDlg::CBrowseBlogsDlg(ui::PhoneScreen& screen, QWidget* owner, const model::CWinBlogChannels& channels)
    : CDialogScreen(screen, owner, ui::Label(s::kRecommendedBlogs), 190) {
  list_ = new QListWidget(Content());
  list_->setWordWrap(true);
  model::CWinBlogChannels sorted = channels;
  sorted.SortByLine();
  for (size_t i = 0; i < sorted.Count(); ++i) {
    const model::CWinBlogChannel& channel = sorted.At(i);
    auto* item = new QListWidgetItem(QString::fromStdU16String(channel.line), list_);
    item->setData(kBlogNameRole, QString::fromStdU16String(channel.blogName));
  }
  list_->installEventFilter(this);
  Column()->addWidget(list_, 1);
}

void CBrowseBlogsDlg::OnInitDialog() {
  Column()->setStretch(Column()->count() - 1, 0);
  if (list_->count() > 0) list_->setCurrentRow(0);
  list_->setFocus();
}

void CBrowseBlogsDlg::OnOK() {
  QListWidgetItem* item = list_->currentItem();
  blogName_ = item && item->isSelected() ? ui::Utf8(item->data(kBlogNameRole).toString()) : std::string();
  EndDialog(kOk);
}

bool CBrowseBlogsDlg::eventFilter(QObject* watched, QEvent* event) {
  // Releasing F6 in the list acts as OK.
  if (watched == list_ && event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F6 && !key->isAutoRepeat()) {
      OnOK();
      return true;
    }
  }
  return CDialogScreen::eventFilter(watched, event);
}

}  // namespace dialogs
