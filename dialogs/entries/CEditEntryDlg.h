#pragma once

#include <cstdint>
#include <functional>

#include "ui/CDialogScreen.h"

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QTimeEdit;

namespace model {
class CWinBlogEntry;
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model
namespace ui {
class SpinList;
}

namespace dialogs {

// "Edit Entry": the date and time, category, title and caption of one entry,
// with its thumbnail. OK keeps the changes (an entry the user may not edit
// keeps none, and the user is told why); the Tools menu syncs the entry (or
// the blog, when its category is new), deletes it (the screen then ends with
// kDeleted), or edits the blog's categories.
class CEditEntryDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  static constexpr int kDeleted = 1064;
  static constexpr size_t kMaxTitle = 49;
  static constexpr size_t kMaxCaption = 7999;

  CEditEntryDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                model::CWinBlogEntry& entry, bool pending);

  // Called after the categories were edited from here (the view rebuilds its menu).
  void SetCategoriesEdited(std::function<void()> edited) { categoriesEdited_ = std::move(edited); }
  void OnCommand(uint32_t command) override;

  QDateEdit* DateField() const { return date_; }
  QTimeEdit* TimeField() const { return time_; }
  ui::SpinList* CategoryList() const { return category_; }
  QLineEdit* TitleField() const { return title_; }
  QPlainTextEdit* CaptionField() const { return caption_; }
  QWidget* ThumbnailFrame() const { return thumbnail_; }
  bool ReadOnly() const { return readOnly_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Stores what changed (unless read-only) and saves; tells a user who may not
  // edit the entry that nothing was kept.
  void ApplyFields();
  void FillCategories();
  void SelectEntryCategory();
  void Sync();
  void Delete();
  void EditCategories();
  void PaintThumbnail();

  ui::PhoneScreen& screen_;
  model::CWinBlogUser& user_;
  model::CWinBlogStorage& blog_;
  model::CWinBlogEntry& entry_;
  bool pending_;
  bool readOnly_;
  std::function<void()> categoriesEdited_;
  QWidget* thumbnail_ = nullptr;
  QDateEdit* date_ = nullptr;
  QTimeEdit* time_ = nullptr;
  ui::SpinList* category_ = nullptr;
  QLineEdit* title_ = nullptr;
  QPlainTextEdit* caption_ = nullptr;
};

}  // namespace dialogs
