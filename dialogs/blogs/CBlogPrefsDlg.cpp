#include "dialogs/blogs/CBlogPrefsDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "model/AccountRules.h"
#include "model/BlogPrefs.h"
#include "model/CWinBlogStorage.h"
#include "platform/StringIds.h"
#include "ui/MessageBox.h"
#include "ui/QtText.h"
#include "ui/SpinList.h"

namespace dialogs {

namespace s = platform::strings;

CBlogPrefsDlg::CBlogPrefsDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogStorage& blog, Layout layout)
    : CDialogScreen(screen, owner, ui::Label(s::kBlogPrefs), 190), blog_(blog), layout_(layout), fields_(Content()) {
  if (layout_ == Layout::SyncOnly) {
    fields_.AddUpload(Column());
    fields_.AddDeleteAfterUpload(Column());
    fields_.AddDownload(Column());
    fields_.AddLimit(Column());
    return;
  }
  AddText(Column(), s::kBlogUrlLabel, true);
  auto* urlRow = new QHBoxLayout();
  AddText(urlRow, s::kBlogUrlPrefix)->setWordWrap(false);
  url_ = AddEdit(urlRow, model::AccountRules::kMaxBlogUrl);
  url_->setReadOnly(true);
  url_->setFocusPolicy(Qt::NoFocus);
  Column()->addLayout(urlRow);
  fields_.AddDeleteAfterUpload(Column());
  fields_.AddDownload(Column());
  fields_.AddLimit(Column());
  AddOwnerFields();
  // The upload size is kept as it is: its list exists but is not shown.
  fields_.AddUpload(Column());
  fields_.UploadLabel()->hide();
  fields_.Upload()->hide();
}

void CBlogPrefsDlg::AddOwnerFields() {
  AddText(Column(), s::kOwnerSettings)->setWordWrap(false);
  AddText(Column(), s::kTitleLabel);
  title_ = AddEdit(Column(), model::BlogPrefs::kMaxTitle);
  AddText(Column(), s::kSubtitleLabel);
  subtitle_ = AddEdit(Column(), model::BlogPrefs::kMaxSubtitle);
  visible_ = new QCheckBox(ui::Label(s::kShowOnTessary), Content());
  Column()->addWidget(visible_);
}

void CBlogPrefsDlg::OnInitDialog() {
  const model::BlogPrefs prefs = model::BlogPrefs::Of(blog_.Info());
  fields_.Load(prefs);
  if (layout_ == Layout::Full) {
    url_->setText(ui::Text(blog_.Info().urlName));
    title_->setText(ui::Text(prefs.title));
    subtitle_->setText(ui::Text(prefs.subtitle));
    visible_->setChecked(prefs.visible);
  }
  MoveFocus(0);
}

void CBlogPrefsDlg::OnOK() {
  model::BlogPrefs prefs = model::BlogPrefs::Of(blog_.Info());
  fields_.Read(prefs);
  if (layout_ == Layout::Full) {
    prefs.title = FieldText(*title_);
    prefs.subtitle = FieldText(*subtitle_);
    prefs.visible = visible_->isChecked();
  }
  // The question about the photos defaults to No.
  prefs.Apply(blog_, layout_ == Layout::Full, [](std::string_view text) {
    return ui::MessageBox::Ask(std::string(text), true) == ui::MessageBox::kYes;
  });
  EndDialog(kOk);
}

}  // namespace dialogs
