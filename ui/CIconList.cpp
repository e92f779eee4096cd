#include "ui/CIconList.h"

#include <QPainter>

#include "ui/BitmapResource.h"

namespace ui {

bool CIconList::Create(uint32_t bitmapId, int columns, int count, int width, int height, int spacing,
                       QRgb transparent) {
  return Create(BitmapResource::Load(bitmapId), columns, count, width, height, spacing, transparent);
}

bool CIconList::Create(const QImage& bitmap, int columns, int count, int width, int height, int spacing,
                       QRgb transparent) {
  bitmap_ = QImage();
  count_ = 0;
  if (bitmap.isNull() || columns < 1 || count < 1 || width < 1 || height < 1 || spacing < 0) return false;
  columns_ = columns;
  width_ = width;
  height_ = height;
  spacing_ = spacing;
  const int rows = (count + columns - 1) / columns;
  if (spacing + columns * (width + spacing) > bitmap.width() || spacing + rows * (height + spacing) > bitmap.height())
    return false;
  QImage keyed = bitmap.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = transparent | 0xFF000000;
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x) {
      if (line[x] == key) line[x] = 0;
    }
  }
  bitmap_ = std::move(keyed);
  count_ = count;
  return true;
}

QRect CIconList::SourceRect(int index) const {
  const int column = index % columns_;
  const int row = index / columns_;
  return QRect(spacing_ + column * (width_ + spacing_), spacing_ + row * (height_ + spacing_), width_, height_);
}

void CIconList::Draw(QPainter& painter, int index, int x, int y) const {
  if (index < 0 || index >= count_) return;
  painter.drawImage(QPoint(x, y), bitmap_, SourceRect(index));
}

}  // namespace ui
