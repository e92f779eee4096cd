#pragma once

#include <memory>
#include <vector>

#include "model/PhotoScan.h"
#include "photo/PickerThumbnails.h"
#include "ui/CGridCtrl.h"
#include "ui/CIconList.h"

namespace photo {

// The photo picker's grid: one cell per photo found, newest first, its cursor
// (the grid's own selection) apart from the photos ticked, which keep the
// order they were ticked in. Enter or a tap ticks or unticks a photo; the pen's
// release does nothing more. Cells show placeholders until their thumbnails
// arrive from the worker threads.
class CImageGridCtrl : public ui::CGridCtrl {
  Q_OBJECT

 public:
  explicit CImageGridCtrl(QWidget* parent);
  ~CImageGridCtrl() override;

  // The photos (the grid's item count) and the thumbnails' cell size.
  void SetItems(model::PhotoScan::Items items);
  const model::CImageItem* Item(int index) const;
  // Adds an index to the ticked list, or takes it out when it is there.
  void Tick(int index);
  bool IsTicked(int index) const;
  const std::vector<int>& Ticked() const { return ticked_; }
  PickerThumbnails& Thumbnails() { return *thumbnails_; }
  // The photos the view wants now: the visible ones, then a page below and one above.
  std::vector<PickerThumbnails::Photo> WantedPhotos() const;

  void DrawItem(QPainter& painter, const QRect& cell, int index, bool selected) override;
  bool ItemClicked(int index) override;
  void ItemActivated(int index) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  PickerThumbnails::Photo PhotoAt(int index) const;

  model::PhotoScan::Items items_;
  std::vector<int> ticked_;
  std::unique_ptr<PickerThumbnails> thumbnails_;
  ui::CIconList tick_;
};

}  // namespace photo
