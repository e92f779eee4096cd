#pragma once

#include <cstdint>
#include <string>

#include "ui/CDialogScreen.h"

namespace model {
class CWinBlogStorage;
}

namespace photo {

class CImageGridCtrl;

// "Select Image": every JPEG photo of the device that the blog does not use
// yet, newest first, as a grid of thumbnails to tick; OK hands the ticked
// photos back in the order they were ticked. The photos are searched for under
// a progress window each time the screen opens.
class CImageSelectDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  static constexpr int kGridId = 1000;

  // Add Photo titles it "Add Photos..." (string 308).
  CImageSelectDlg(ui::PhoneScreen& screen, QWidget* owner, const model::CWinBlogStorage* blog, uint32_t titleId);

  size_t GetTickedCount() const;
  std::string GetTickedPath(size_t i) const;
  CImageGridCtrl* Grid() const { return grid_; }

 protected:
  void OnInitDialog() override;

 private:
  QWidget* owner_;
  const model::CWinBlogStorage* blog_;
  CImageGridCtrl* grid_ = nullptr;
};

}  // namespace photo
