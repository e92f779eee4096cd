#pragma once

#include <cstdint>

#include "ui/CDialogScreen.h"

class QListWidget;

namespace model {
class CWinBlogAlbum;
class CWinBlogStorage;
}  // namespace model

namespace dialogs {

// "Edit Categories": the blog's categories in name order, with New, Edit and
// Delete on the Options menu. There is no Cancel: what is done is kept, and
// Done saves the blog. The service hears of it at the next sync.
class CEditCategoriesDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CEditCategoriesDlg(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogStorage& blog);

  void OnCommand(uint32_t command) override;
  QListWidget* List() const { return list_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  void New();
  void Edit();
  void Delete();
  // Adds an item for the category at its place in name order and selects it.
  void AddItem(uint32_t id);
  // The category of the selected item, or null after saying that one must be chosen.
  model::CWinBlogAlbum* SelectedCategory();

  ui::PhoneScreen& screen_;
  model::CWinBlogStorage& blog_;
  QListWidget* list_ = nullptr;
};

}  // namespace dialogs
