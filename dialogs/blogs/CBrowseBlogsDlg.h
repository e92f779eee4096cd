#pragma once

#include <string>

#include "ui/CDialogScreen.h"

class QListWidget;

namespace model {
class CWinBlogChannels;
}

namespace dialogs {

// "Recommended Blogs": the service's recommended blogs, one line each in
// alphabetical order. OK (or F6) takes the selected blog's Blog URL.
class CBrowseBlogsDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CBrowseBlogsDlg(ui::PhoneScreen& screen, QWidget* owner, const model::CWinBlogChannels& channels);

  // The chosen blog's Blog URL; empty when none was selected.
  const std::string& BlogName() const { return blogName_; }
  QListWidget* List() const { return list_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QListWidget* list_ = nullptr;
  std::string blogName_;
};

}  // namespace dialogs
