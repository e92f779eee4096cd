#pragma once

#include "ui/CDialogScreen.h"

namespace model {
class CWinBlogStorage;
}
namespace ui {
class SpinList;
}

namespace dialogs {

// "Categorize Entries": files every entry shown under one category (or
// Unfiled), skipping those the user may not edit, and says so once.
class CCategorizeEntriesDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CCategorizeEntriesDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogStorage& blog);

  ui::SpinList* List() const { return list_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  model::CWinBlogStorage& blog_;
  ui::SpinList* list_ = nullptr;
};

}  // namespace dialogs
