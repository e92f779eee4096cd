#pragma once

#include <string>

#include "ui/CDialogScreen.h"

class QLineEdit;

namespace model {
class CWinBlogAlbum;
class CWinBlogStorage;
}  // namespace model

namespace dialogs {

// "Category Name": the name of a new category, or the new name of one. A name
// another category of the blog has (letter case aside) is refused; renaming to
// the same name ends as Cancel, a change of letter case only is accepted.
class CCategoryNameDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  static constexpr size_t kMaxName = 99;

  // `category` is the one renamed, or null for a new one.
  CCategoryNameDlg(ui::PhoneScreen& screen, QWidget* owner, const model::CWinBlogStorage& blog,
                   const model::CWinBlogAlbum* category);

  // The name typed (UTF-8), after OK.
  const std::string& Name() const { return name_; }
  QLineEdit* Field() const { return field_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  const model::CWinBlogStorage& blog_;
  const model::CWinBlogAlbum* category_;
  QLineEdit* field_ = nullptr;
  std::string name_;
};

}  // namespace dialogs
