#pragma once

#include "dialogs/blogs/SyncSettingsFields.h"
#include "ui/CDialogScreen.h"

class QCheckBox;
class QLabel;

namespace model {
class CWinBlogStorage;
}

namespace dialogs {

// "Blog Prefs": one blog's sync settings and, in the full layout, its Blog URL
// (shown, not editable), title, subtitle and "Show on Tessary". The sync-only
// layout (upload and download sizes, the entry limit, deleting after upload)
// is the one of a subscription the service offers. OK applies the Blog Prefs
// rules to the blog in memory; saving it is the opener's.
class CBlogPrefsDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  enum class Layout { Full, SyncOnly };

  CBlogPrefsDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogStorage& blog, Layout layout);

  const SyncSettingsFields& Fields() const { return fields_; }
  QLineEdit* UrlField() const { return url_; }
  QLineEdit* TitleField() const { return title_; }
  QLineEdit* SubtitleField() const { return subtitle_; }
  QCheckBox* ShowOnTessaryBox() const { return visible_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  void AddOwnerFields();

  model::CWinBlogStorage& blog_;
  Layout layout_;
  SyncSettingsFields fields_;
  QLineEdit* url_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* subtitle_ = nullptr;
  QCheckBox* visible_ = nullptr;
};

}  // namespace dialogs
