#include "photo/CImageGridCtrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/CDialogScreen.h"
#include "ui/DisplayScale.h"

namespace photo {

namespace {

// Pictures kept: at least this many, else four screens of cells.
constexpr size_t kMinimumKept = 64;
const QColor kPlaceholder(232, 232, 232);

}  // namespace

CImageGridCtrl::CImageGridCtrl(QWidget* parent) : CGridCtrl(parent) { ui::CDialogScreen::KeepKeys(*this); }

CImageGridCtrl::~CImageGridCtrl() = default;

void CImageGridCtrl::SetItems(model::PhotoScan::Items items) {
  items_ = std::move(items);
  ticked_.clear();
  SetItemCount(static_cast<int>(items_.size()));
}

const model::CImageItem* CImageGridCtrl::Item(int index) const {
  return index >= 0 && index < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(index)].get() : nullptr;
}

void CImageGridCtrl::Tick(int index) {
  if (!Item(index)) return;
  auto at = std::find(ticked_.begin(), ticked_.end(), index);
  if (at != ticked_.end()) {
    ticked_.erase(at);
  } else {
    ticked_.push_back(index);
  }
}

bool CImageGridCtrl::IsTicked(int index) const {
  return std::find(ticked_.begin(), ticked_.end(), index) != ticked_.end();
}

bool CImageGridCtrl::ItemClicked(int index) {
  Tick(index);
  return true;
}

void CImageGridCtrl::ItemActivated(int index) {
  Tick(index);
  RepaintItem(index);
}

void CImageGridCtrl::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

PickerThumbnails::Photo CImageGridCtrl::PhotoAt(int index) const {
  const model::CImageItem& item = *items_[static_cast<size_t>(index)];
  return {index, item.Path(), item.lastWriteTime, item.hostPath};
}

std::vector<PickerThumbnails::Photo> CImageGridCtrl::WantedPhotos() const {
  std::vector<PickerThumbnails::Photo> wanted;
  const int count = GetItemCount();
  const int page = Columns() * VisibleRows();
  const int first = TopRow() * Columns();
  auto add = [&](int from, int to) {
    for (int i = std::max(0, from); i < std::min(count, to); ++i) wanted.push_back(PhotoAt(i));
  };
  add(first, first + page);
  add(first + page, first + 2 * page);
  add(first - page, first);
  return wanted;
}

void CImageGridCtrl::paintEvent(QPaintEvent* event) {
  if (!thumbnails_ || thumbnails_->Capacity() < static_cast<size_t>(4 * Columns() * VisibleRows())) {
    const QSize cell(CellWidth(), CellHeight());
    const size_t capacity = std::max(kMinimumKept, static_cast<size_t>(4 * Columns() * VisibleRows()));
    thumbnails_ = std::make_unique<PickerThumbnails>(cell, capacity);
    connect(thumbnails_.get(), &PickerThumbnails::Ready, this, [this](int index) { RepaintItem(index); });
  }
  CGridCtrl::paintEvent(event);
  thumbnails_->Want(WantedPhotos());
}

void CImageGridCtrl::DrawItem(QPainter& painter, const QRect& cell, int index, bool selected) {
  if (!Item(index)) return;
  const PickerThumbnails::Picture* picture = thumbnails_ ? thumbnails_->Find(PhotoAt(index)) : nullptr;
  if (!picture) {
    const int inset = ui::DisplayScale::Across(2);
    painter.fillRect(cell.adjusted(inset, inset, -inset, -inset), kPlaceholder);
  } else if (!picture->image.isNull()) {
    painter.drawImage(cell.topLeft() + picture->offset, picture->image);
  }
  if (IsTicked(index)) {
    if (tick_.Count() == 0) tick_.Create(157, 1, 1, 16, 16);
    tick_.Draw(painter, 0, cell.left() + 3, cell.top() + 3);
  }
  if (selected) DrawSelectionFrame(painter, cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1);
}

}  // namespace photo
