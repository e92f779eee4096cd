#include "dialogs/entries/CEditEntryDlg.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimeEdit>
#include <algorithm>

#include "dialogs/categories/CEditCategoriesDlg.h"
#include "dialogs/entries/CDeleteEntriesDlg.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TimeValue.h"
#include "service/BlogNetwork.h"
#include "service/ServiceErrors.h"
#include "ui/CProgressWnd.h"
#include "ui/SpinList.h"
#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/JpegPainter.h"
#include "ui/MessageBox.h"
#include "ui/NetworkStep.h"
#include "ui/QtText.h"

namespace dialogs {

namespace s = platform::strings;

namespace {

// The calendar a time value can hold: 1904-01-01 to 2040-02-06.
const QDate kFirstDate(1904, 1, 1);
const QDate kLastDate(2040, 2, 6);

// The device's short date with the whole year.
QString DateFormat() {
  QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
  if (!format.contains(QLatin1String("yyyy"))) format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
  return format;
}

// The device's time with its seconds, which are part of the entry's time.
QString TimeFormat() {
  QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
  if (!format.contains(QLatin1Char('s'))) format.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
  return format;
}

void ShowPlain(uint32_t id) { ui::MessageBox::Show(platform::LoadString(id), ui::MessageBox::Icon::None); }

}  // namespace

CEditEntryDlg::CEditEntryDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user,
                             model::CWinBlogStorage& blog, model::CWinBlogEntry& entry, bool pending)
    : CDialogScreen(screen, owner, ui::Label(s::kEditEntryTitle), 194),
      screen_(screen),
      user_(user),
      blog_(blog),
      entry_(entry),
      pending_(pending),
      readOnly_(blog.IsEntryReadOnly(&entry)) {
  auto* top = new QHBoxLayout();
  thumbnail_ = new QWidget(Content());
  const int side = ui::DisplayScale::Across(56);
  thumbnail_->setFixedSize(side, side);
  thumbnail_->installEventFilter(this);
  top->addWidget(thumbnail_, 0, Qt::AlignTop);
  auto* when = new QGridLayout();
  when->setVerticalSpacing(Column()->spacing());
  date_ = new QDateEdit(Content());
  date_->setDisplayFormat(DateFormat());
  date_->setDateRange(kFirstDate, kLastDate);
  date_->setAlignment(Qt::AlignRight);
  time_ = new QTimeEdit(Content());
  time_->setDisplayFormat(TimeFormat());
  time_->setAlignment(Qt::AlignRight);
  auto* dateLabel = new QLabel(ui::Label(s::kDateLabel), Content());
  auto* timeLabel = new QLabel(ui::Label(s::kTimeLabel), Content());
  when->addWidget(dateLabel, 0, 0);
  when->addWidget(date_, 0, 1);
  when->addWidget(timeLabel, 1, 0);
  when->addWidget(time_, 1, 1);
  when->setColumnStretch(1, 1);
  top->addLayout(when, 1);
  Column()->addLayout(top);

  AddText(Column(), s::kCategoryLabel);
  category_ = new ui::SpinList(Content());
  Column()->addWidget(category_);
  AddText(Column(), s::kTitleLabel);
  title_ = AddEdit(Column(), kMaxTitle);
  AddText(Column(), s::kCaptionLabel);
  caption_ = AddMultiLineEdit(Column(), kMaxCaption);
  caption_->setMinimumHeight(ui::DisplayScale::Down(60));
}

void CEditEntryDlg::OnInitDialog() {
  platform::SystemTime when;
  if (platform::TimeValueToSystemTime(entry_.GetDate(), when)) {
    date_->setDate(QDate(when.year, when.month, when.day));
    time_->setTime(QTime(when.hour, when.minute, when.second));
  }
  const QString title = QString::fromStdU16String(entry_.GetTitleW());
  // A longer title from the service stays whole; typing stops at the limit.
  title_->setMaxLength(std::max(static_cast<int>(kMaxTitle), static_cast<int>(title.size())));
  title_->setText(title);
  caption_->setPlainText(QString::fromStdU16String(entry_.GetCaptionW()));
  FillCategories();
  SelectEntryCategory();
  SelectAll(*title_);
}

// An entry whose category is in no item shows none, and so keeps it.
void CEditEntryDlg::SelectEntryCategory() {
  if (!category_->SelectData(entry_.GetCategoryId())) category_->setCurrentIndex(-1);
}

void CEditEntryDlg::FillCategories() {
  category_->clear();
  for (size_t i = 0; i < blog_.GetCategoryCount(); ++i) {
    const model::CWinBlogAlbum* category = blog_.GetCategoryAt(i);
    category_->AddItem(ui::Text(category->GetName()), category->GetId());
  }
  category_->AddItem(ui::Label(s::kUnfiled), model::kUnfiledCategoryId);
}

void CEditEntryDlg::ApplyFields() {
  bool changed = false;
  const QDate day = date_->date();
  const QTime time = time_->time();
  platform::SystemTime when;
  when.year = static_cast<uint16_t>(day.year());
  when.month = static_cast<uint16_t>(day.month());
  when.dayOfWeek = static_cast<uint16_t>(day.dayOfWeek() % 7);
  when.day = static_cast<uint16_t>(day.day());
  when.hour = static_cast<uint16_t>(time.hour());
  when.minute = static_cast<uint16_t>(time.minute());
  when.second = static_cast<uint16_t>(time.second());
  when.milliseconds = static_cast<uint16_t>(time.msec());
  uint32_t date = 0;
  if (platform::SystemTimeToTimeValue(when, date) && date != entry_.GetDate()) {
    if (!readOnly_) {
      entry_.SetDate(date);
      blog_.ResortEntry(&entry_);
    }
    changed = true;
  }
  const std::u16string title = title_->text().toStdU16String();
  if (title != entry_.GetTitleW()) {
    if (!readOnly_) entry_.SetTitleW(title);
    changed = true;
  }
  const std::u16string caption = caption_->toPlainText().toStdU16String();
  if (caption != entry_.GetCaptionW()) {
    if (!readOnly_) entry_.SetCaptionW(caption);
    changed = true;
  }
  // An entry whose category is in no item keeps it.
  uint32_t category = 0;
  if (category_->SelectedData(category) && category != entry_.GetCategoryId()) {
    if (!readOnly_) entry_.SetCategoryId(category);
    changed = true;
  }
  if (!changed) return;
  if (readOnly_) {
    ShowPlain(blog_.IsEntryReadOnly(nullptr, true) ? s::kNoPermissionShort : s::kNotYourEntry);
    return;
  }
  entry_.SetModified(true);
  blog_.Save();
}

void CEditEntryDlg::OnOK() {
  ApplyFields();
  EndDialog(kOk);
}

void CEditEntryDlg::OnCommand(uint32_t command) {
  switch (command) {
    case ui::commands::kDialogSync: Sync(); break;
    case ui::commands::kDialogDelete: Delete(); break;
    case ui::commands::kDialogEditCategories: EditCategories(); break;
    default: CDialogScreen::OnCommand(command); break;
  }
}

void CEditEntryDlg::Sync() {
  ApplyFields();
  if (entry_.IsModified()) {
    ui::NetworkStep::Run(screen_, this, 0, [this](ui::CProgressWnd& progress) {
      progress.SetLine(0, ui::Text(blog_.Info().urlName));
      // The entry's new id must stay: the blog is saved after a sync that worked.
      if (service::BlogNetwork::SyncBlog(user_, blog_, &entry_, &progress) == 0) blog_.Save();
    });
  }
  EndDialog(kOk);
}

void CEditEntryDlg::Delete() {
  CDeleteEntriesDlg confirm(screen_, this, true, readOnly_, pending_);
  if (confirm.DoModal() != kOk) return;
  blog_.DiscardEntry(&entry_, confirm.DeleteOnWeb(), confirm.DeletePhoto());
  blog_.Save();
  service::ServiceErrors::ShowUnreported(blog_.PhotoDeletionResult());
  EndDialog(kDeleted);
}

void CEditEntryDlg::EditCategories() {
  if (blog_.IsEntryReadOnly(nullptr)) {
    ShowPlain(s::kNoPermission);
    return;
  }
  CEditCategoriesDlg editor(screen_, this, blog_);
  editor.DoModal();
  FillCategories();
  SelectEntryCategory();
  if (categoriesEdited_) categoriesEdited_();
}

bool CEditEntryDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == thumbnail_ && event->type() == QEvent::Paint) {
    PaintThumbnail();
    return true;
  }
  return CDialogScreen::eventFilter(watched, event);
}

void CEditEntryDlg::PaintThumbnail() {
  QPainter painter(thumbnail_);
  const QRect frame = thumbnail_->rect();
  painter.fillRect(frame, Qt::black);
  const QRect inside = frame.adjusted(1, 1, -1, -1);
  painter.fillRect(inside, Qt::white);
  QRect covered;
  ui::JpegPainter::DrawBytes(painter, entry_.GetThumbnail(), inside, 0, covered);
}

}  // namespace dialogs
