#pragma once

#include <memory>

#include "dialogs/blogs/SyncSettingsFields.h"
#include "ui/CDialogScreen.h"

class QPushButton;

namespace model {
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model

namespace dialogs {

// "Subscribe": another account's blog by its Blog URL, in two steps on one
// screen. Step 0 takes the Blog URL (typed, or picked with Browse from the
// recommended blogs), step 1 the sync settings; Next on step 1 makes the blog's
// database and runs its first sync. Ends with OK and the new database (not yet
// saved nor in the account's list) unless the sync failed in a way nobody had
// reported: then the database is dropped and the screen is back on step 0.
class CSubscribeDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CSubscribeDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user);
  ~CSubscribeDlg() override;

  int Step() const { return step_; }
  std::unique_ptr<model::CWinBlogStorage> TakeBlog();

  QLineEdit* UrlField() const { return url_; }
  QPushButton* BrowseButton() const { return browse_; }
  QWidget* StepGroup(int step) const { return groups_[step]; }
  const SyncSettingsFields& Fields() const { return fields_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowStep(int step);
  void Browse();
  void Subscribe();

  model::CWinBlogUser& user_;
  int step_ = 0;
  QWidget* groups_[2] = {};
  QLineEdit* url_ = nullptr;
  QPushButton* browse_ = nullptr;
  SyncSettingsFields fields_;
  std::unique_ptr<model::CWinBlogStorage> blog_;
};

}  // namespace dialogs
