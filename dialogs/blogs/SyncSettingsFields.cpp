#include "dialogs/blogs/SyncSettingsFields.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "model/BlogPrefs.h"
#include "model/ModelConstants.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"
#include "ui/SpinList.h"

namespace dialogs {

namespace s = platform::strings;

namespace {

struct SizeItem {
  uint32_t text;
  uint32_t code;
};

constexpr SizeItem kUploadSizes[] = {
    {s::kSizeText320x240, model::kUpload320x240},
    {s::kSizeText480x360, model::kUpload480x360},
    {s::kSizeText640x480, model::kUpload640x480},
    {s::kSizeTextFullPhotos, model::kUploadFull},
};

constexpr SizeItem kDownloadSizes[] = {
    {s::kSizeTextNothing, model::kSizeNothing},   {s::kSizeTextThumbnails, model::kSizeThumbnails},
    {s::kSizeText176x132, model::kSize176x132},   {s::kSizeText240x180, model::kSize240x180},
    {s::kSizeText320x240, model::kSize320x240},   {s::kSizeText480x360, model::kSize480x360},
    {s::kSizeText640x480, model::kSize640x480},   {s::kSizeTextFull, model::kSizeFull},
};

// The largest entry limit the blog's record holds.
constexpr unsigned kMaxEntryLimit = 65535;

// The text of a check box that wraps on a narrow screen; a click on it works
// the box.
class BoxText : public QLabel {
 public:
  BoxText(const QString& text, QCheckBox* box, QWidget* parent) : QLabel(text, parent), box_(box) {
    setWordWrap(true);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent*) override {
    box_->setFocus();
    box_->toggle();
  }

 private:
  QCheckBox* box_;
};

QCheckBox* AddCheckBox(QBoxLayout* layout, QWidget* parent, uint32_t textId) {
  auto* row = new QHBoxLayout();
  auto* box = new QCheckBox(parent);
  box->setAccessibleName(ui::Label(textId));
  row->addWidget(box, 0, Qt::AlignTop);
  row->addWidget(new BoxText(ui::Label(textId), box, parent), 1);
  layout->addLayout(row);
  return box;
}

}  // namespace

void SyncSettingsFields::AddUpload(QBoxLayout* layout) {
  auto* label = new QLabel(ui::Label(s::kUploadLabel), parent_);
  layout->addWidget(label);
  uploadLabel_ = label;
  upload_ = new ui::SpinList(parent_);
  for (const SizeItem& item : kUploadSizes) upload_->AddItem(ui::Label(item.text), item.code);
  layout->addWidget(upload_);
}

void SyncSettingsFields::AddDownload(QBoxLayout* layout) {
  layout->addWidget(new QLabel(ui::Label(s::kDownloadLabel), parent_));
  download_ = new ui::SpinList(parent_);
  for (const SizeItem& item : kDownloadSizes) download_->AddItem(ui::Label(item.text), item.code);
  layout->addWidget(download_);
}

void SyncSettingsFields::AddLimit(QBoxLayout* layout) {
  limit_ = AddCheckBox(layout, parent_, s::kLimitEntriesLabel);
  entryLimit_ = new QLineEdit(parent_);
  entryLimit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), entryLimit_));
  layout->addWidget(entryLimit_);
}

void SyncSettingsFields::AddDeleteAfterUpload(QBoxLayout* layout) {
  deleteAfterUpload_ = AddCheckBox(layout, parent_, s::kDeleteAfterUpload);
}

void SyncSettingsFields::Load(const model::BlogPrefs& prefs) {
  if (upload_) upload_->SelectData(prefs.uploadSize);
  if (download_) download_->SelectData(prefs.downloadSize);
  if (limit_) limit_->setChecked(prefs.limitEntries);
  if (entryLimit_) entryLimit_->setText(QString::number(prefs.entryLimit));
  if (deleteAfterUpload_) deleteAfterUpload_->setChecked(prefs.deleteAfterUpload);
}

void SyncSettingsFields::Read(model::BlogPrefs& prefs) const {
  if (upload_ && upload_->count() > 0) prefs.uploadSize = static_cast<uint16_t>(upload_->CurrentData());
  if (download_ && download_->count() > 0) prefs.downloadSize = static_cast<uint16_t>(download_->CurrentData());
  if (limit_) prefs.limitEntries = limit_->isChecked();
  if (entryLimit_) prefs.entryLimit = static_cast<uint16_t>(std::min(entryLimit_->text().toUInt(), kMaxEntryLimit));
  if (deleteAfterUpload_) prefs.deleteAfterUpload = deleteAfterUpload_->isChecked();
}

}  // namespace dialogs
