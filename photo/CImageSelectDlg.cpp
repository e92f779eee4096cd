#include "photo/CImageSelectDlg.h"

#include <QVBoxLayout>

#include "model/PhotoScan.h"
#include "photo/CImageGridCtrl.h"
#include "platform/StringIds.h"
#include "ui/CProgressWnd.h"
#include "ui/DisplayScale.h"
#include "ui/QtText.h"

namespace photo {

CImageSelectDlg::CImageSelectDlg(ui::PhoneScreen& screen, QWidget* owner, const model::CWinBlogStorage* blog,
                                 uint32_t titleId)
    : CDialogScreen(screen, owner, ui::Label(titleId), 190), owner_(owner), blog_(blog) {
  Column()->setContentsMargins(0, 0, 0, 0);
  grid_ = new CImageGridCtrl(Content());
  grid_->setObjectName(QStringLiteral("grid%1").arg(kGridId));
  Column()->addWidget(grid_, 100);
}

void CImageSelectDlg::OnInitDialog() {
  const int s5 = ui::DisplayScale::Across(5);
  const int t5 = ui::DisplayScale::Down(5);
  grid_->LayoutByCellSize(QRect(), ui::DisplayScale::Across(50), ui::DisplayScale::Down(50), s5, t5, s5, t5);
  model::PhotoScan scan(blog_);
  {
    ui::CProgressWnd progress(Screen());
    progress.Create(owner_, 2, true);
    progress.SetLine(0, platform::strings::kSearching);
    scan.Collect(&progress);
    progress.Destroy();
  }
  grid_->SetItems(scan.TakeItems());
  grid_->Select(0, false);
  grid_->setFocus();
}

size_t CImageSelectDlg::GetTickedCount() const { return grid_->Ticked().size(); }

std::string CImageSelectDlg::GetTickedPath(size_t i) const {
  const std::vector<int>& ticked = grid_->Ticked();
  if (i >= ticked.size()) return {};
  const model::CImageItem* item = grid_->Item(ticked[i]);
  return item ? item->Path() : std::string();
}

}  // namespace photo
